// The about window: a borderless picture with a credit line. It serves as
// the splash at start and is shown again by "关于系统"; clicking the picture
// closes it.
//
// Controls:
//   Image1  the product picture filling the window; a click closes it
//   Label1  the credit line over the picture's lower right part
#pragma once

#include <QWidget>

class QLabel;

namespace tl {

class ClickLabel;

class LogoFrm : public QWidget {
    Q_OBJECT
public:
    explicit LogoFrm(QWidget* parent = nullptr);

    ClickLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
};

}  // namespace tl
