#include "app/output.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>

#include "app/contact.h"
#include "app/document.h"
#include "app/file_io.h"
#include "canvas/caption.h"
#include "canvas/frame_painter.h"
#include "platform/beep.h"
#include "render/model.h"

namespace {

QPageLayout pageFor(QSize size) {
    return QPageLayout(QPageSize(QSizeF(size), QPageSize::Point), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point, QMarginsF(0, 0, 0, 0));
}

// The frame, and the caption over it when asked, with a painter active on a device of size.
void paintPicture(Model& m, QPainter& painter, QSize size, bool caption) {
    paintFrame(m, painter, size);
    if (caption)
        paintCaption(painter, QRectF(QPointF(0, 0), QSizeF(size)), pictureCaption(m.settings));
}

// Paints the frame over a device whose page is size points, whatever its resolution; false when
// the device could not be painted on or finished.
bool paintScaled(Model& m, QPaintDevice* device, QSize size, bool caption = false) {
    QPainter painter(device);
    if (!painter.isActive()) return false;
    const double sx = device->width() / double(size.width());
    const double sy = device->height() / double(size.height());
    painter.scale(sx, sy);
    paintPicture(m, painter, size, caption);
    return painter.end();
}

bool writePdf(Model& m, QIODevice* out, QSize size, bool caption = false) {
    QPdfWriter writer(out);
    writer.setCreator(QStringLiteral("Kaleidra"));
    writer.setPageLayout(pageFor(size));
    writer.setResolution(72);
    return paintScaled(m, &writer, size, caption);
}

bool writeSvg(Model& m, QIODevice* out, QSize size, bool caption) {
    QSvgGenerator svg;
    svg.setOutputDevice(out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Kaleidra"));
    QPainter painter(&svg);
    if (!painter.isActive()) return false;
    paintPicture(m, painter, size, caption);
    return painter.end();
}

bool writePng(Model& m, QIODevice* out, QSize size, bool caption) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return false;
    renderFrame(m, image);
    if (caption) {
        QPainter painter(&image);
        paintCaption(painter, QRectF(image.rect()), pictureCaption(m.settings));
    }
    return image.save(out, "PNG");
}

// The ending of a file name, lower case, without the dot.
std::string suffixOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string suffix = path.substr(dot + 1);
    for (char& c : suffix) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return suffix;
}

}  // namespace

void printPicture(Model& m, QPrinter& printer, QSize size) {
    printer.setPageLayout(pageFor(size));
    printer.setFullPage(true);
    paintScaled(m, &printer, size);
}

void runPrintDialog(Model& m, QWidget* parent, QSize size) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageFor(size));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    printPicture(m, printer, size);
}

namespace {

// A one-page PDF of the picture.
QByteArray picturePdf(Model& m, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writePdf(m, &buffer, size)) bytes.clear();
    buffer.close();
    return bytes;
}

}  // namespace

void copyPicturePdf(Model& m, QSize size) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("application/pdf"), picturePdf(m, size));
    QGuiApplication::clipboard()->setMimeData(mime);
}

QUrl mailtoUrl() {
    return QUrl(QStringLiteral("mailto:%1,%2?subject=Kaleidra")
                    .arg(QLatin1String(kContactAddressA), QLatin1String(kContactAddressB)));
}

void sendEmail() {
    QDesktopServices::openUrl(mailtoUrl());
}

bool exportPicture(Model& m, const std::string& path, QSize size, std::string* error,
                   bool caption) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        beep();
        return false;
    };
    if (size.width() < 1 || size.height() < 1 || size.width() > 16384 || size.height() > 16384) {
        return fail("the size must be between 1x1 and 16384x16384");
    }
    const std::string suffix = suffixOf(path);
    std::string why;
    if (suffix == "kaleidra2d") {
        if (saveDocument(m, path, &why)) return true;  // it beeps itself on failure
        if (error) *error = "cannot write " + path + ": " + why;
        return false;
    }
    // The whole file is made in memory first, so that an encoder never meets a failing write
    // half way; replaceFile then writes it whole or not at all.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool encoded = false;
    if (suffix == "png") {
        encoded = writePng(m, &buffer, size, caption);
    } else if (suffix == "svg") {
        encoded = writeSvg(m, &buffer, size, caption);
    } else if (suffix == "pdf") {
        encoded = writePdf(m, &buffer, size, caption);
    } else {
        return fail("unknown output type: use .png, .svg, .pdf or .Kaleidra2D");
    }
    buffer.close();
    if (!encoded || bytes.isEmpty()) return fail("cannot make the picture for " + path);
    if (!replaceFile(path, std::string_view(bytes.constData(), bytes.size()), why)) {
        return fail("cannot write " + path + ": " + why);
    }
    return true;
}
