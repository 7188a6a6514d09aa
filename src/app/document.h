#pragma once

#include <string>

struct Model;
#include <string_view>

// Kaleidra documents: a property-list dictionary of every setting, the colours of every element
// and, for other readers, the computed triangle and group. Opening restores the settings,
// rebuilds the picture and lays the stored colours and view over it; the computed keys are
// written but never read back.
//
// Documents come from outside, so the whole dictionary is read into a staging copy and checked
// before anything is applied: a refused document beeps and leaves every setting and table as it
// was.

inline constexpr const char* kDocumentSuffix = ".Kaleidra2D";

// The current picture as the dictionary save writes, in XML.
std::string documentXml(Model& m);

// Writes the current picture to path atomically: the earlier file, if any, is replaced only by a
// complete new one (see replaceFile). false after a beep when the file could not be written,
// with the reason in why when it is given.
[[nodiscard]] bool saveDocument(Model& m, const std::string& path, std::string* why = nullptr);

// Opens a document from a file or from its bytes (XML or binary). false after a beep; nothing has
// changed then. On success the settings, tables and view hold the document's picture; the
// caller refreshes the panel and the view. Only a regular file is read; the reason for a
// refusal goes to why when it is given.
[[nodiscard]] bool openDocument(Model& m, const std::string& path, std::string* why = nullptr);
[[nodiscard]] bool openDocumentData(Model& m, std::string_view bytes);
