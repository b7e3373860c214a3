#include "core/scorm_package.h"

#include "core/quiz_page.h"
#include "core/windows1252.h"

namespace kelvo::pack {

namespace fs = std::filesystem;

namespace {

// What differs between the two versions' manifests.
struct ManifestVocabulary {
    const char* namespaces;
    const char* schemaVersion;
    const char* scormTypeAttribute;
    std::size_t titleLimit;   // characters; 0: none
};

const ManifestVocabulary& vocabularyOf(ScormVersion version) {
    static const ManifestVocabulary scorm12{
        "xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
        "          xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
        "          xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
        "          xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd"
        " http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd"
        " http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\"",
        "1.2", "adlcp:scormtype", 200};
    static const ManifestVocabulary scorm2004{
        "xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\"\n"
        "          xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_v1p3\"\n"
        "          xmlns:adlseq=\"http://www.adlnet.org/xsd/adlseq_v1p3\"\n"
        "          xmlns:adlnav=\"http://www.adlnet.org/xsd/adlnav_v1p3\"\n"
        "          xmlns:imsss=\"http://www.imsglobal.org/xsd/imsss\"\n"
        "          xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
        "          xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imscp_v1p1 imscp_v1p1.xsd"
        " http://www.adlnet.org/xsd/adlcp_v1p3 adlcp_v1p3.xsd"
        " http://www.adlnet.org/xsd/adlseq_v1p3 adlseq_v1p3.xsd"
        " http://www.adlnet.org/xsd/adlnav_v1p3 adlnav_v1p3.xsd"
        " http://www.imsglobal.org/xsd/imsss imsss_v1p0.xsd\"",
        "2004 4th Edition", "adlcp:scormType", 0};
    return version == ScormVersion::V1_2 ? scorm12 : scorm2004;
}

bool startsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) count += startsCharacter(c) ? 1 : 0;
    return count;
}

// The title on one line (a title's line breaks and tabs become blanks), cut
// to the version's limit, escaped for XML text.
std::string manifestTitle(ScormVersion version, std::string_view title) {
    const std::size_t limit = vocabularyOf(version).titleLimit;
    std::string out;
    std::size_t characters = 0;
    for (char c : title) {
        if (startsCharacter(c) && limit != 0 && ++characters > limit) break;
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

// A file name as a relative URL: every byte but the unreserved ones
// percent-encoded, so blanks and accents reach the platform's server intact.
std::string hrefOf(const std::string& name) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
        }
    }
    return out;
}

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace

bool scormTitleIsCut(ScormVersion version, std::string_view title) {
    const std::size_t limit = vocabularyOf(version).titleLimit;
    return limit != 0 && characterCount(title) > limit;
}

std::string scormManifest(ScormVersion version, std::string_view title, const std::string& pageName,
                          const std::string& identity) {
    const ManifestVocabulary& vocabulary = vocabularyOf(version);
    const std::string id = "kelvo-" + identity;
    const std::string shownTitle = manifestTitle(version, title);
    const std::string href = hrefOf(pageName);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<manifest identifier=\"" + id + "\" version=\"1\"\n          " + vocabulary.namespaces + ">\n"
           "  <metadata>\n"
           "    <schema>ADL SCORM</schema>\n"
           "    <schemaversion>" + vocabulary.schemaVersion + "</schemaversion>\n"
           "  </metadata>\n"
           "  <organizations default=\"" + id + "-organisation\">\n"
           "    <organization identifier=\"" + id + "-organisation\">\n"
           "      <title>" + shownTitle + "</title>\n"
           "      <item identifier=\"" + id + "-item\" identifierref=\"" + id + "-sco\">\n"
           "        <title>" + shownTitle + "</title>\n"
           "      </item>\n"
           "    </organization>\n"
           "  </organizations>\n"
           "  <resources>\n"
           "    <resource identifier=\"" + id + "-sco\" type=\"webcontent\" " + vocabulary.scormTypeAttribute +
           "=\"sco\" href=\"" + href + "\">\n"
           "      <file href=\"" + href + "\"/>\n"
           "    </resource>\n"
           "  </resources>\n"
           "</manifest>\n";
}

std::vector<ZipEntry> scormPackageEntries(ScormVersion version, std::string_view title, const std::string& pageName,
                                          const std::string& pageHtml, const std::string& identity,
                                          const std::vector<PackageFile>& schemas) {
    std::vector<ZipEntry> entries;
    entries.push_back({ManifestName, bytesOf(scormManifest(version, title, pageName, identity))});
    entries.push_back({pageName, bytesOf(pageHtml)});
    for (const PackageFile& schema : schemas) entries.push_back({std::string(schema.name), bytesOf(schema.content)});
    return entries;
}

int buildScormPackage(CommandContext& context, const PackedQuiz& quiz, const fs::path& output, ScormVersion version,
                      const std::string& shownOutput, const std::string& summary, const ZipCompressor& compressor) {
    const std::string pageName = fs::path(output).replace_extension(".html").filename().u8string();
    const std::optional<QuizPage> page = makeBuiltQuizPage(context, quiz, pageName);
    if (!page) return ExitCodes::Invalid;
    const std::string title = fromWindows1252(quiz.title);
    if (scormTitleIsCut(version, title))
        context.err << "attention, le titre dépasse les 200 caractères que garde un paquet SCORM 1.2 : "
                       "le manifeste le coupe là (la page le garde entier).\n";
    const std::optional<Bytes> package = writeZip(
        scormPackageEntries(version, title, pageName, page->html, page->identity, builtInScormSchemas(version)), &compressor);
    if (!package) {
        context.err << "le paquet dépasserait les 4 Go qu'un fichier zip peut contenir : allégez les médias du quiz.\n";
        return ExitCodes::Invalid;
    }
    if (!replaceWholeFile(context, output, shownOutput, std::string_view(reinterpret_cast<const char*>(package->data()),
                                                                          package->size()))) {
        return ExitCodes::Failure;
    }
    context.out << shownOutput << " écrit (" << summary << ", paquet SCORM "
                << scormVersionName(version) << " de " << package->size() / 1024
                << " Ko, page web de " << page->html.size() / 1024 << " Ko).\n";
    return ExitCodes::Success;
}

}  // namespace kelvo::pack
