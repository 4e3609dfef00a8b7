// Where a documentation file lies: <root>\doc\<language>\<file>; a file of
// that name plus ".link" names, on its first line, a path relative to that
// folder to use instead; a missing file is looked for in <root>\doc\en\.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zv {

std::optional<std::string> findDocument(const std::string& rootDir, const std::string& language,
                                        const std::string& file);

// The same look-up in the language's own folder only (no English fall-back).
std::optional<std::string> findOwnDocument(const std::string& rootDir, const std::string& language,
                                           const std::string& file);

// What the help command opens, best first: the language's own help file
// ("zorvak.chm") or its own first page ("main.html"), then the English ones.
// Only files that exist; empty when the installation has no help at all.
std::vector<std::string> helpCandidates(const std::string& rootDir, const std::string& language);

// The message for a missing document of a documentation command
// ("readme" -> "README.HTML not found").
std::string missingDocumentMessage(const std::string& file);

}  // namespace zv
