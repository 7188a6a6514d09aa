#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>

#include "tiling/describe.h"

struct Settings;

// The caption that names the picture: one line in the lower-left corner of the drawing window,
// on a translucent dark plate so that it reads on any background. The drawing window shows it
// unless the person hides it; printing, PDF, the clipboard and exported pictures leave it out
// unless an export asks for it.

// The description of a picture (its generators and edge-length shares).
Description describePicture(const Settings& s);

// The caption's text for a picture.
QString pictureCaption(const Settings& s);

// Paints text on its plate in the lower-left corner of area (the painter's co-ordinates,
// logical pixels), in the panel's font.
void paintCaption(QPainter& painter, const QRectF& area, const QString& text);
