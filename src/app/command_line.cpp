#include "app/command_line.h"

#include <QString>
#include <charconv>
#include <cstdio>

#include "app/document.h"
#include "app/output.h"
#include "render/chain.h"

const char* const kUsage =
    "usage: kaleidra [DOCUMENT]\n"
    "       kaleidra --export OUTPUT [--size WxH] [--seed N] [DOCUMENT]\n"
    "       kaleidra --help | --version\n"
    "\n"
    "Draws uniform tilings of the sphere, the plane and the hyperbolic plane.\n"
    "  DOCUMENT           a .Kaleidra2D document to open\n"
    "  --export OUTPUT    write the picture to OUTPUT (.png, .svg, .pdf or .Kaleidra2D)\n"
    "                     and exit, without opening a window\n"
    "  --size WxH         the picture's size in pixels or points (default 1920x1080)\n"
    "  --seed N           the random source of a new picture (default: the clock)\n";

namespace {

template <class T>
bool parseNumber(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

CommandLine failure(std::string why) {
    CommandLine c;
    c.mode = CommandLine::Mode::error;
    c.error = std::move(why);
    return c;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    bool sizeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            c.mode = CommandLine::Mode::help;
            return c;
        }
        if (a == "--version") {
            c.mode = CommandLine::Mode::version;
            return c;
        }
        if (a == "--export") {
            if (!value(c.output) || c.output.empty()) return failure("--export needs an output file");
            c.mode = CommandLine::Mode::exportPicture;
        } else if (a == "--size") {
            std::string text;
            if (!value(text)) return failure("--size needs WxH, for example 1920x1080");
            const std::size_t x = text.find('x');
            if (x == std::string::npos || !parseNumber(text.substr(0, x), c.width) ||
                !parseNumber(text.substr(x + 1), c.height) || c.width < 1 || c.height < 1 ||
                c.width > 16384 || c.height > 16384) {
                return failure("--size needs WxH between 1x1 and 16384x16384, not " + text);
            }
            sizeGiven = true;
        } else if (a == "--seed") {
            std::string text;
            unsigned seed = 0;
            if (!value(text) || !parseNumber(text, seed)) {
                return failure("--seed needs a whole number from 0 to 4294967295");
            }
            c.seed = seed;
        } else if (a.size() > 1 && a[0] == '-') {
            return failure("unknown option " + a + " (see kaleidra --help)");
        } else if (c.document.empty()) {
            c.document = a;
        } else {
            return failure("only one document can be opened");
        }
    }
    if (c.mode == CommandLine::Mode::run && (sizeGiven || c.seed)) {
        return failure("--size and --seed go with --export");
    }
    return c;
}

int runExport(const CommandLine& command) {
    // The launch picture sets up everything a document is laid over.
    if (command.seed) initRandom(*command.seed);
    else initRandom();
    updateGeometryLabels();
    if (!command.document.empty() && !openDocument(command.document)) {
        std::fprintf(stderr, "kaleidra: %s is not a Kaleidra document that can be opened\n",
                     command.document.c_str());
        return 1;
    }
    QString error;
    if (!exportPicture(QString::fromStdString(command.output), QSize(command.width, command.height),
                       &error)) {
        std::fprintf(stderr, "kaleidra: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
