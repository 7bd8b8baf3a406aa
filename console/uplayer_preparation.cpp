// The preparation sequence: start-up, booking start and the reconnection wait
// loop, driven by TimerPreparation.
#include "console/uplayer.h"

void Tfplayer::EnterWaitLoop() {
    AdvPanel1->show();
    setEnabled(false);
    preparationTimer = 99;
    TimerPreparation->start();
}
