#include "app/output.h"

#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "app/contact.h"
#include "app/document.h"
#include "canvas/caption.h"
#include "canvas/frame_painter.h"

namespace {

QPageLayout pageFor(QSize size) {
    return QPageLayout(QPageSize(QSizeF(size), QPageSize::Point), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point, QMarginsF(0, 0, 0, 0));
}

// The frame, and the caption over it when asked, with a painter active on a device of size.
void paintPicture(QPainter& painter, QSize size, bool caption) {
    paintFrame(painter, size);
    if (caption) paintCaption(painter, QRectF(QPointF(0, 0), QSizeF(size)), pictureCaption());
}

// Paints the frame over a device whose page is size points, whatever its resolution.
void paintScaled(QPaintDevice* device, QSize size, bool caption = false) {
    QPainter painter(device);
    if (!painter.isActive()) return;
    const double sx = device->width() / double(size.width());
    const double sy = device->height() / double(size.height());
    painter.scale(sx, sy);
    paintPicture(painter, size, caption);
}

bool writePdf(QIODevice* out, QSize size, bool caption = false) {
    QPdfWriter writer(out);
    writer.setCreator(QStringLiteral("Kaleidra"));
    writer.setPageLayout(pageFor(size));
    writer.setResolution(72);
    paintScaled(&writer, size, caption);
    return true;
}

}  // namespace

void printPicture(QPrinter& printer, QSize size) {
    printer.setPageLayout(pageFor(size));
    printer.setFullPage(true);
    paintScaled(&printer, size);
}

void runPrintDialog(QWidget* parent, QSize size) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageFor(size));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    printPicture(printer, size);
}

QByteArray picturePdf(QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writePdf(&buffer, size);
    buffer.close();
    return bytes;
}

void copyPicturePdf(QSize size) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("application/pdf"), picturePdf(size));
    QGuiApplication::clipboard()->setMimeData(mime);
}

QUrl mailtoUrl() {
    return QUrl(QStringLiteral("mailto:%1,%2?subject=Kaleidra")
                    .arg(QLatin1String(kContactAddressA), QLatin1String(kContactAddressB)));
}

void sendEmail() {
    QDesktopServices::openUrl(mailtoUrl());
}

bool exportPicture(const QString& path, QSize size, QString* error, bool caption) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (size.width() < 1 || size.height() < 1 || size.width() > 16384 || size.height() > 16384) {
        return fail(QStringLiteral("the size must be between 1x1 and 16384x16384"));
    }
    if (suffix == QLatin1String("kaleidra2d")) {
        if (!saveDocument(path.toStdString())) return fail(QStringLiteral("cannot write ") + path);
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(QStringLiteral("cannot write ") + path);
    if (suffix == QLatin1String("png")) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        renderFrame(image);
        if (caption) {
            QPainter painter(&image);
            paintCaption(painter, QRectF(image.rect()), pictureCaption());
        }
        if (!image.save(&file, "PNG")) return fail(QStringLiteral("cannot encode the image"));
    } else if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Kaleidra"));
        QPainter painter(&svg);
        if (painter.isActive()) paintPicture(painter, size, caption);
    } else if (suffix == QLatin1String("pdf")) {
        writePdf(&file, size, caption);
    } else {
        file.cancelWriting();
        return fail(QStringLiteral("unknown output type: use .png, .svg, .pdf or .Kaleidra2D"));
    }
    if (!file.commit()) return fail(QStringLiteral("cannot write ") + path);
    return true;
}
