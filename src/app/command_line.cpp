#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/document.h"
#include "app/output.h"
#include "canvas/caption.h"
#include "render/chain.h"
#include "render/model.h"

const char* const kUsage =
    "usage: kaleidra [DOCUMENT]\n"
    "       kaleidra --export OUTPUT [--size WxH] [--seed N] [--caption] [DOCUMENT]\n"
    "       kaleidra --describe [--seed N] [DOCUMENT]\n"
    "       kaleidra --help | --version\n"
    "\n"
    "Draws uniform tilings of the sphere, the plane and the hyperbolic plane.\n"
    "  DOCUMENT           a .Kaleidra2D document to open\n"
    "  --export OUTPUT    write the picture to OUTPUT (.png, .svg, .pdf or .Kaleidra2D)\n"
    "                     and exit, without opening a window\n"
    "  --size WxH         the picture's size in pixels or points (default 1920x1080)\n"
    "  --seed N           the random source of a new picture (default: the clock)\n"
    "  --caption          the exported picture carries the caption naming the tiling\n"
    "  --describe         print what the picture is (Wythoff symbol, vertex configuration,\n"
    "                     name, counts, symmetry) as one JSON object and exit\n";

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
    bool sizeGiven = false, describe = false;
    std::vector<std::string> given;  // the options seen so far
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
        if (a == "--export" || a == "--size" || a == "--seed" || a == "--describe" ||
            a == "--caption") {
            if (std::find(given.begin(), given.end(), a) != given.end()) {
                return failure(a + " can be given only once");
            }
            given.push_back(a);
        }
        if (a == "--export") {
            if (!value(c.output) || c.output.empty())
                return failure("--export needs an output file");
            c.mode = CommandLine::Mode::exportPicture;
        } else if (a == "--describe") {
            describe = true;
        } else if (a == "--caption") {
            c.caption = true;
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
    if (describe) {
        if (c.mode == CommandLine::Mode::exportPicture) {
            return failure("--describe and --export cannot be combined");
        }
        if (sizeGiven || c.caption) return failure("--size and --caption go with --export");
        c.mode = CommandLine::Mode::describe;
    }
    if (c.mode == CommandLine::Mode::run && (sizeGiven || c.seed || c.caption)) {
        return failure("--size, --seed and --caption go with --export");
    }
    return c;
}

namespace {

// The launch picture sets up everything a document is laid over; then the document, if any.
// False after the one-line error.
bool loadPicture(Model& m, const CommandLine& command) {
    if (command.seed)
        initRandom(m, *command.seed);
    else
        initRandom(m);
    updateGeometryLabels(m.settings);
    std::string why;
    if (!command.document.empty() && !openDocument(m, command.document, &why)) {
        std::fprintf(stderr, "kaleidra: cannot open %s: %s\n", command.document.c_str(),
                     why.c_str());
        return false;
    }
    return true;
}

std::string jsonString(const std::string& text) {
    std::string s = "\"";
    for (const char ch : text) {
        if (ch == '"' || ch == '\\') {
            s += '\\';
            s += ch;
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
            s += escaped;
        } else {
            s += ch;
        }
    }
    return s + "\"";
}

// The shortest text that reads back as the same double.
std::string jsonNumber(double x) {
    if (!std::isfinite(x)) return "null";
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, x);
    return ec == std::errc() ? std::string(text, end) : "null";
}

// The JSON object of runDescribe, with a line break at the end. Off the sphere the counts are
// null.
std::string descriptionJson(const Description& d) {
    // Built by appending: GCC 12 misreads literal + temporary string as an overlapping copy.
    const auto array = [](const auto& values, auto text) {
        std::string out = "[";
        for (const auto& v : values) {
            if (out.size() > 1) out += ", ";
            out += text(v);
        }
        return out += "]";
    };
    const auto integer = [](long n) { return std::to_string(n); };
    const auto count = [&](long PolyhedronCounts::*field) {
        return d.counts ? std::to_string((*d.counts).*field) : std::string("null");
    };
    std::string bySides = "null";
    if (d.counts) {
        bySides = "{";
        for (const FaceCount& f : d.counts->facesBySides) {
            if (bySides.size() > 1) bySides += ", ";
            bySides += '"';
            bySides += std::to_string(f.sides);
            bySides += "\": ";
            bySides += std::to_string(f.count);
        }
        bySides += "}";
    }
    std::string s = "{\n";
    const auto field = [&](const char* key, const std::string& value, bool last = false) {
        s += "  \"";
        s += key;
        s += "\": ";
        s += value;
        s += last ? "\n" : ",\n";
    };
    field("geometry", jsonString(d.geometry));
    field("generators", array(d.generators, integer));
    field("lengths", array(d.lengths, jsonNumber));
    field("wythoff", jsonString(d.wythoff));
    field("vertexConfiguration", jsonString(configurationText(d.vertexConfiguration)));
    field("uniform", d.uniform ? "true" : "false");
    field("name", d.name ? jsonString(*d.name) : "null");
    field("vertices", count(&PolyhedronCounts::vertices));
    field("edges", count(&PolyhedronCounts::edges));
    field("faces", count(&PolyhedronCounts::faces));
    field("facesBySides", bySides);
    field("coxeter", jsonString(d.coxeter));
    field("orbifold", jsonString(d.orbifold), true);
    return s + "}\n";
}

}  // namespace

int runExport(const CommandLine& command) {
    // The command's own picture, apart from any window.
    const auto picture = std::make_unique<Model>();
    Model& m = *picture;
    if (!loadPicture(m, command)) return 1;
    std::string error;
    if (!exportPicture(m, command.output, QSize(command.width, command.height), &error,
                       command.caption)) {
        std::fprintf(stderr, "kaleidra: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int runDescribe(const CommandLine& command) {
    // The command's own picture, apart from any window.
    const auto picture = std::make_unique<Model>();
    Model& m = *picture;
    if (!loadPicture(m, command)) return 1;
    std::fputs(descriptionJson(describePicture(m.settings)).c_str(), stdout);
    return 0;
}
