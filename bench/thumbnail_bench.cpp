// What a file manager's thumbnailer asks of `kaleidra --export THUMB.png --size SxS DOC`, less
// the start of the process: the document opened from its bytes (checked, rebuilt, coloured) and
// the picture written as an S × S PNG. The document is a random picture turned into the
// hyperbolic (7,3,2) group at group order 200 and 2000, the largest a document can ask for.
//   BM_Thumbnail/order/size

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "app/document.h"
#include "app/output.h"
#include "bench_model.h"
#include "render/chain.h"

namespace {

// The document with the integer after <key>KEY</key> replaced by value; unchanged without one.
std::string withInteger(const std::string& xml, const char* key, int value) {
    const std::string tag = std::string("<key>") + key + "</key>";
    const std::size_t at = xml.find(tag);
    if (at == std::string::npos) return xml;
    const std::size_t open = xml.find("<integer>", at + tag.size());
    if (open == std::string::npos) return xml;
    const std::size_t first = open + std::string("<integer>").size();
    const std::size_t end = xml.find("</integer>", first);
    if (end == std::string::npos) return xml;
    return xml.substr(0, first) + std::to_string(value) + xml.substr(end);
}

void BM_Thumbnail(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "kaleidra-bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(argc, argv);

    initRandom(model, 1);
    std::string xml = documentXml(model);
    xml = withInteger(xml, "generatorV", 7);
    xml = withInteger(xml, "generatorE", 3);
    xml = withInteger(xml, "generatorF", 2);
    xml = withInteger(xml, "groupOrder", static_cast<int>(state.range(0)));
    const int size = static_cast<int>(state.range(1));
    QTemporaryDir dir;
    const std::string path =
        QDir(dir.path()).filePath(QStringLiteral("thumbnail.png")).toStdString();
    for (auto _ : state) {
        if (!openDocumentData(model, xml) ||
            !exportPicture(model, path, QSize(size, size), nullptr)) {
            state.SkipWithError("the document or the thumbnail failed");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_Thumbnail)
    ->ArgNames({"order", "size"})
    ->Args({200, 256})
    ->Args({2000, 256})
    ->Args({2000, 1024})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
