#include "gui/shell/logofrm.h"

#include <QPalette>

#include "gui/toolkit/window_text.h"
#include "gui/toolkit/clicklabel.h"
#include "gui/toolkit/fonts.h"
#include "gui/toolkit/pictures.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::LogoFrm";

namespace {

constexpr int kWidth = 480;   // 7200 twips at 96 dpi
constexpr int kHeight = 340;  // 5100 twips

}  // namespace

LogoFrm::LogoFrm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("logofrm"));
    WithTitle(this, kTr, QT_TR_NOOP("关于腾岚八字排盘系统"));
    setFixedSize(kWidth, kHeight);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);

    Image1 = new ClickLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kWidth, kHeight);
    Image1->setPixmap(LogoPicture(QSize(kWidth, kHeight)));
    connect(Image1, &ClickLabel::clicked, this, &QWidget::close);

    // The credit line lies over the lower right part of the picture and
    // does not react to clicks.
    Label1 = WithText(new QLabel(this), kTr, QT_TR_NOOP("腾岚八字排盘系统专业版  版本 " TENGLAN_VERSION));
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font = ReportFont(QStringLiteral("宋体"), 10.5);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: #ff0000; background: transparent;"));
    Label1->adjustSize();
    Label1->move(kWidth - Label1->width() - 16, kHeight - Label1->height() - 40);
}

}  // namespace tl
