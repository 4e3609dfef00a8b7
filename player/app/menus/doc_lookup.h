// Where a documentation file lies: <root>\doc\<language>\<file>; a file of
// that name plus ".link" names, on its first line, a path relative to that
// folder to use instead; a missing file is looked for in <root>\doc\en\.
#pragma once
#include <optional>
#include <string>

namespace zv {

std::optional<std::string> findDocument(const std::string& rootDir, const std::string& language,
                                        const std::string& file);

// The message for a missing document of a documentation command
// ("readme" -> "README.HTML not found").
std::string missingDocumentMessage(const std::string& file);

}  // namespace zv
