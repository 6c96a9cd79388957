// The pictures of the program, drawn when first needed: the about window's
// picture and the small picture of the extra-information panel.
#pragma once

#include <QPixmap>
#include <QSize>

namespace tl {

// The about window's picture: a night-blue field with a 太极 disc ringed by
// the eight trigrams, the program's name and the ten stems and twelve
// branches along the border.
QPixmap LogoPicture(QSize size);

// The icon of the program's windows: a small 太极 disc.
QPixmap IconPicture(int size);

// The picture of the extra-information panel that hides the panel.
QPixmap PanelPicture();

}  // namespace tl
