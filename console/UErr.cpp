#include "console/UErr.h"

#include <QFont>

#include "console/buttoncaption.h"
#include "console/uplayer.h"
#include "widgets/theme.h"

TFrmError* FrmError = nullptr;

TFrmError::TFrmError(Tfplayer& player)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint), player_(player) {
    setObjectName(QStringLiteral("FrmError"));
    setWindowTitle(QStringLiteral("FrmError"));
    // Touch-sized: text read at arm's length, buttons a thumb presses.
    setFixedSize(760, 240);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#FrmError { background: #16161e; }"));

    Label1 = new QLabel(QStringLiteral("Oooppss,,.. Tablet Tidak Terhubung Dengan Player"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("PetitaBold"));
    font.setPixelSize(24);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label1->move(40, 56);
    Label1->adjustSize();

    LabelDetail = new QLabel(this);
    LabelDetail->setObjectName(QStringLiteral("LabelDetail"));
    // Below the text and above the buttons, as wide as the dialog allows.
    LabelDetail->setGeometry(40, 96, 680, 28);
    QFont detailFont = LabelDetail->font();
    detailFont.setPixelSize(17);
    LabelDetail->setFont(detailFont);
    LabelDetail->setStyleSheet(QStringLiteral("color: #9a9aa8;"));

    AdvSmoothButton1 = new SmoothButton(QStringLiteral("Batalkan Perintah"), this);
    AdvSmoothButton1->setObjectName(QStringLiteral("AdvSmoothButton1"));
    AdvSmoothButton1->setGeometry(320, 140, 200, 72);
    AdvSmoothButton2 = new SmoothButton(QStringLiteral("Coba Lagi"), this);
    AdvSmoothButton2->setObjectName(QStringLiteral("AdvSmoothButton2"));
    AdvSmoothButton2->setGeometry(540, 140, 200, 72);
    // Both captions fit their buttons; reconnecting is the way most guests want.
    for (SmoothButton* button : {AdvSmoothButton1, AdvSmoothButton2}) {
        FitButtonCaption(button);
    }
    AdvSmoothButton2->setColor(Theme::accent());
    connect(AdvSmoothButton1, &SmoothButton::clicked, this, &TFrmError::AdvSmoothButton1Click);
    connect(AdvSmoothButton2, &SmoothButton::clicked, this, &TFrmError::AdvSmoothButton2Click);
    // Nothing else holds the dialog once the guest has answered it.
    setAttribute(Qt::WA_DeleteOnClose);
    FrmError = this;
}

void TFrmError::SetDetail(const QString& message) {
    LabelDetail->ensurePolished();
    LabelDetail->setText(
        LabelDetail->fontMetrics().elidedText(message, Qt::ElideRight, LabelDetail->width()));
    LabelDetail->setToolTip(message);
}

void TFrmError::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The kiosk's X server has no window manager to place or stack the
    // dialog: it centres itself over the console window and comes on top.
    move(player_.window()->frameGeometry().center() - rect().center());
    raise();
    activateWindow();
}

TFrmError::~TFrmError() {
    if (FrmError == this) {
        FrmError = nullptr;
    }
}

void TFrmError::AdvSmoothButton1Click() {
    player_.setEnabled(true);
    close();
}

void TFrmError::AdvSmoothButton2Click() {
    // The guest asks for the room player now: the first round probes at once,
    // also after a wait that gave up with the link marked lost.
    player_.perintahSucces = 1;
    player_.EnterWaitLoop();
    close();
}
