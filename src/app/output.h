#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QUrl>

class QPrinter;
class QWidget;

// The picture leaves the program: printed, copied as PDF, exported to a file, or talked about by
// e-mail. Every picture is one frame of the given size in points, drawn by the same frame
// function as the screen.

// One page the size of the picture, margins 0, with the frame on it.
void printPicture(QPrinter& printer, QSize size);
// The print dialog (which can also save a PDF); nothing happens when it is cancelled.
void runPrintDialog(QWidget* parent, QSize size);

// A one-page PDF of the picture.
QByteArray picturePdf(QSize size);
// Puts the PDF on the clipboard as application/pdf and nothing else.
void copyPicturePdf(QSize size);

// "mailto:" the two contact addresses "?subject=Kaleidra".
QUrl mailtoUrl();
void sendEmail();

// Writes the picture to path, the format chosen by its ending: .png (an image of size pixels),
// .svg, .pdf, or .Kaleidra2D (the document). Written whole or not at all: on failure no file
// is left and error says why. With caption, the pictures carry the caption that names the
// tiling, as the drawing window shows it (a document has no picture to carry it).
bool exportPicture(const QString& path, QSize size, QString* error, bool caption = false);
