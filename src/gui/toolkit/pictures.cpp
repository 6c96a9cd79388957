#include "gui/toolkit/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "gui/toolkit/fonts.h"

namespace tl {

namespace {

// A 太极 disc of radius r centred at c: the light half on the left, the dark
// half on the right, each with the eye of the other.
void DrawTaiji(QPainter& p, QPointF c, qreal r, const QColor& light, const QColor& dark) {
    const QRectF whole(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawEllipse(whole);

    QPainterPath darkHalf;
    darkHalf.moveTo(c.x(), c.y() - r);
    darkHalf.arcTo(whole, 90, -180);                                          // right half, top to bottom
    darkHalf.arcTo(QRectF(c.x() - r / 2, c.y(), r, r), 270, -180);            // lower small circle, bulging left
    darkHalf.arcTo(QRectF(c.x() - r / 2, c.y() - r, r, r), 270, 180);         // upper small circle, bulging right
    darkHalf.closeSubpath();
    p.setBrush(dark);
    p.drawPath(darkHalf);

    const qreal eye = r / 7;
    p.setBrush(dark);
    p.drawEllipse(QPointF(c.x(), c.y() + r / 2), eye, eye);
    p.setBrush(light);
    p.drawEllipse(QPointF(c.x(), c.y() - r / 2), eye, eye);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, 1.2));
    p.drawEllipse(whole);
}

// The eight trigrams of the earlier heaven order around a centre, each a
// stack of three whole or broken bars, read from the centre outwards.
void DrawTrigrams(QPainter& p, QPointF c, qreal radius, const QColor& color) {
    // Bits from the inner line outwards: 1 whole, 0 broken. 乾 at the top,
    // then clockwise 巽 坎 艮 坤 震 离 兑.
    const int trigrams[8] = {0b111, 0b011, 0b010, 0b001, 0b000, 0b100, 0b101, 0b110};
    const qreal barLength = radius * 0.36;
    const qreal barHeight = radius * 0.045;
    const qreal gap = radius * 0.05;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(c);
        p.rotate(45.0 * k);
        for (int line = 0; line < 3; ++line) {
            const qreal y = -radius + line * (barHeight + gap);
            const bool whole = (trigrams[k] >> (2 - line)) & 1;
            if (whole) {
                p.drawRect(QRectF(-barLength / 2, y, barLength, barHeight));
            } else {
                const qreal half = barLength * 0.42;
                p.drawRect(QRectF(-barLength / 2, y, half, barHeight));
                p.drawRect(QRectF(barLength / 2 - half, y, half, barHeight));
            }
        }
        p.restore();
    }
}

}  // namespace

QPixmap LogoPicture(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    // Night-blue sky fading to the colour of old paper at the bottom.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(18, 32, 72));
    sky.setColorAt(0.62, QColor(46, 70, 128));
    sky.setColorAt(1.0, QColor(236, 226, 200));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // A soft moon glow behind the disc.
    const QPointF centre(w * 0.27, h * 0.44);
    const qreal discRadius = h * 0.2;
    QRadialGradient glow(centre, discRadius * 2.4);
    glow.setColorAt(0.0, QColor(255, 244, 214, 150));
    glow.setColorAt(1.0, QColor(255, 244, 214, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, discRadius * 2.4, discRadius * 2.4);

    const QColor ink(36, 30, 28);
    const QColor paper(250, 244, 226);
    DrawTrigrams(p, centre, discRadius * 1.62, QColor(244, 214, 140));
    DrawTaiji(p, centre, discRadius, paper, ink);

    // The program's name and its line.
    QFont title = ReportFont(QStringLiteral("宋体"), 30);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(title);
    p.setPen(QColor(250, 236, 190));
    const QRectF titleBox(w * 0.5, h * 0.2, w * 0.48, h * 0.2);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("腾岚八字"));
    const QRectF titleBox2(w * 0.5, h * 0.38, w * 0.48, h * 0.14);
    QFont subtitle = ReportFont(QStringLiteral("宋体"), 16);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    p.setFont(subtitle);
    p.setPen(QColor(220, 228, 245));
    p.drawText(titleBox2, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("四柱排盘系统"));

    // The ten stems along the top border and the twelve branches along the
    // bottom.
    QFont small = ReportFont(QStringLiteral("宋体"), 10.5);
    p.setFont(small);
    p.setPen(QColor(170, 186, 226));
    const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    for (int i = 0; i < stems.size(); ++i)
        p.drawText(QRectF(w * 0.04 + i * (w * 0.92 / 10), 6, w * 0.092, 18), Qt::AlignCenter, stems.mid(i, 1));
    p.setPen(QColor(120, 100, 70));
    const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    for (int i = 0; i < branches.size(); ++i)
        p.drawText(QRectF(w * 0.03 + i * (w * 0.94 / 12), h - 24, w * 0.078, 18), Qt::AlignCenter,
                   branches.mid(i, 1));

    // A thin frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(210, 180, 110), 2));
    p.drawRect(QRectF(3, 3, w - 6, h - 6));
    return pixmap;
}

QPixmap IconPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = size / 2.0 - 1;
    DrawTaiji(p, QPointF(size / 2.0, size / 2.0), r, QColor(250, 244, 226), QColor(150, 20, 20));
    return pixmap;
}

QPixmap PanelPicture() {
    // A small folded-down corner with a downward arrow: put the panel away.
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 120), 1));
    p.setBrush(QColor(236, 236, 246));
    p.drawRoundedRect(QRectF(0.5, 0.5, 17, 17), 3, 3);
    QPainterPath arrow;
    arrow.moveTo(4, 6);
    arrow.lineTo(14, 6);
    arrow.lineTo(9, 13);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 80, 150));
    p.drawPath(arrow);
    return pixmap;
}

}  // namespace tl
