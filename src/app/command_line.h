#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for:
//   kaleidra [DOCUMENT]
//   kaleidra --export OUTPUT [--size WxH] [--seed N] [--caption] [DOCUMENT]
//   kaleidra --describe [--seed N] [DOCUMENT]
//   kaleidra --help | --version
struct CommandLine {
    enum class Mode { run, exportPicture, describe, help, version, error };
    Mode mode = Mode::run;
    std::string document;  // empty: a random launch picture
    std::string output;
    int width = 1920, height = 1080;
    std::optional<unsigned> seed;
    bool caption = false;  // the exported picture carries the caption
    std::string error;     // one line, for Mode::error
};

CommandLine parseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

// Builds the picture (the document's, or a launch seeded with the seed or the clock) and writes
// the output file. Needs a QGuiApplication; paints offscreen. Returns the process exit code and
// prints one line to stderr on failure, leaving no output file.
int runExport(const CommandLine& command);

// Prints the description of the picture (the document's, or a seeded launch's) as one JSON
// object on stdout. Needs no display. Fails as runExport does on a bad document.
int runDescribe(const CommandLine& command);
