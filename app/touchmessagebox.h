#pragma once

#include <QMessageBox>

class QWidget;

// The console's message boxes, sized for a finger at arm's length on the
// tablet: large text, buttons at least kMinimumButtonHeight high and
// kMinimumButtonWidth wide. Texts, buttons and answers are those of an
// ordinary QMessageBox.
namespace touchmessagebox {

constexpr int kMinimumButtonHeight = 64;
constexpr int kMinimumButtonWidth = 180;
constexpr int kTextPixelSize = 28;

// A box ready to exec(), drawn over `over` (the console window) when given:
// modal to it, and centred over it once shown.
void Prepare(QMessageBox& box, QWidget* over);

// Shows box until a button is pressed and returns the standard button.
int Exec(QMessageBox& box, QWidget* over);

}  // namespace touchmessagebox
