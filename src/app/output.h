#pragma once

struct Model;
#include <QSize>
#include <QString>
#include <QUrl>
#include <string>

class QPrinter;
class QWidget;

// The picture leaves the program: printed, copied as PDF, exported to a file, or talked about by
// e-mail. Every picture is one frame of the given size in points, drawn by the same frame
// function as the screen.

// One page the size of the picture, margins 0, with the frame on it.
void printPicture(Model& m, QPrinter& printer, QSize size);
// The print dialog (which can also save a PDF); nothing happens when it is cancelled.
void runPrintDialog(Model& m, QWidget* parent, QSize size);

// Puts the PDF on the clipboard as application/pdf and nothing else.
void copyPicturePdf(Model& m, QSize size);

// "mailto:" the two contact addresses "?subject=Kaleidra".
QUrl mailtoUrl();
void sendEmail();

// Writes the picture to path (the file name's bytes, as given), the format chosen by its ending:
// .png (an image of size pixels), .svg, .pdf, or .Kaleidra2D (the document). Written whole or
// not at all (see replaceFile): on failure an earlier file stays as it was, the beep sounds and
// error says why in one line. With caption, the pictures carry the caption that names the
// tiling, as the drawing window shows it (a document has no picture to carry it).
bool exportPicture(Model& m, const std::string& path, QSize size, std::string* error,
                   bool caption = false);
