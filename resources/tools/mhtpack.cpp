// mhtpack: packs an HTML page and the files it refers to (style sheets, pictures) into one
// web archive (MHTML: multipart/related, CRLF line ends), so that the program ships a
// single reference file that any browser shows without the files beside it.
//
//   mhtpack <output.mht> <source folder> <main page> [<file> ...]
//
// The page and the files are named relative to the source folder and keep those names in
// the archive, so that the page's relative links find them. Text is stored quoted-printable
// (readable in the archive), everything else base64. The output depends on the inputs only.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The parts' addresses; any base serves, as long as the page's relative links resolve
// inside the archive. The address never leaves the archive.
constexpr std::string_view BaseAddress = "http://izolcalc.local/reference/";
// "=_" cannot occur in quoted-printable or base64 text, so no body can contain the boundary.
constexpr std::string_view Boundary = "----=_izolcalc_reference_part";
constexpr std::size_t MaxLine = 76;

struct Part {
    std::string name;
    std::string type;
    bool text;
    std::string bytes;
};

bool ReadFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The MIME type by the file's extension, and whether it is text.
bool TypeOf(const fs::path& path, std::string& type, bool& text) {
    struct Kind {
        std::string_view extension, type;
        bool text;
    };
    // clang-format off
    static constexpr Kind Kinds[] = {
        {".html", "text/html",     true},
        {".htm",  "text/html",     true},
        {".css",  "text/css",      true},
        {".svg",  "image/svg+xml", false},
        {".png",  "image/png",     false},
        {".jpg",  "image/jpeg",    false},
        {".jpeg", "image/jpeg",    false},
    };
    // clang-format on
    const std::string extension = path.extension().string();
    for (const Kind& kind : Kinds) {
        if (extension == kind.extension) {
            type = kind.type;
            text = kind.text;
            return true;
        }
    }
    return false;
}

// Quoted-printable (RFC 2045): source line ends become CRLF, lines are broken softly
// ("=" at the end) so that none is longer than 76 characters.
std::string QuotedPrintable(std::string_view bytes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    std::string line;
    auto flushLine = [&] {
        out += line;
        out += "\r\n";
        line.clear();
    };
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t end = bytes.find('\n', i);
        std::string_view source = bytes.substr(i, end == std::string_view::npos ? end : end - i);
        if (!source.empty() && source.back() == '\r') source.remove_suffix(1);
        for (std::size_t k = 0; k < source.size(); ++k) {
            const auto c = static_cast<unsigned char>(source[k]);
            const bool last = k + 1 == source.size();
            // Blanks at a line end would be lost in transport, so they are encoded there.
            const bool literal =
                (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
            std::string piece =
                literal ? std::string(1, char(c)) : std::string{'=', Hex[c >> 4], Hex[c & 15]};
            // Room for the piece and, unless it ends the line, the soft break after it.
            const std::size_t room = last ? MaxLine : MaxLine - 1;
            if (line.size() + piece.size() > room) {
                line += '=';
                flushLine();
            }
            line += piece;
        }
        flushLine();
        if (end == std::string_view::npos) break;
        i = end + 1;
    }
    return out;
}

std::string Base64(std::string_view bytes) {
    static constexpr char Alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned v = 0;
        for (std::size_t k = 0; k < 3; ++k)
            v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            encoded += k <= n ? Alphabet[(v >> (18 - 6 * k)) & 63] : '=';
    }
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); i += MaxLine) {
        out += encoded.substr(i, MaxLine);
        out += "\r\n";
    }
    return out;
}

// The page's <title>, for the archive's Subject header.
std::string TitleOf(const std::string& html) {
    const std::size_t open = html.find("<title>");
    if (open == std::string::npos) return {};
    const std::size_t start = open + 7;
    const std::size_t close = html.find("</title>", start);
    return close == std::string::npos ? std::string() : html.substr(start, close - start);
}

// Header fields are ASCII; a Russian title goes in as encoded words (RFC 2047), one per
// folded line, each holding whole UTF-8 characters.
std::string EncodedWords(const std::string& text) {
    constexpr std::size_t ChunkBytes = 36; // 48 base64 characters, short of the line limit
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.size(), start + ChunkBytes);
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        std::string word = Base64(std::string_view(text).substr(start, end - start));
        word.resize(word.size() - 2); // the line end that Base64 adds
        out += (start == 0 ? " " : "\r\n ") + std::string("=?utf-8?B?") + word + "?=";
        start = end;
    }
    return out;
}

std::string Archive(const std::vector<Part>& parts) {
    std::string out;
    out += "From: <Saved by mhtpack>\r\n";
    out += "Snapshot-Content-Location: " + std::string(BaseAddress) + parts.front().name + "\r\n";
    out += "Subject:" + EncodedWords(TitleOf(parts.front().bytes)) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/related;\r\n";
    out += "\ttype=\"text/html\";\r\n";
    out += "\tboundary=\"" + std::string(Boundary) + "\"\r\n";
    out += "\r\n";
    for (const Part& part : parts) {
        out += "--" + std::string(Boundary) + "\r\n";
        out += "Content-Type: " + part.type + (part.text ? "; charset=\"utf-8\"" : "") + "\r\n";
        out += "Content-Transfer-Encoding: ";
        out += part.text ? "quoted-printable\r\n" : "base64\r\n";
        out += "Content-Location: " + std::string(BaseAddress) + part.name + "\r\n";
        out += "\r\n";
        out += part.text ? QuotedPrintable(part.bytes) : Base64(part.bytes);
    }
    out += "--" + std::string(Boundary) + "--\r\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: mhtpack <output.mht> <source folder> <main page> [<file> ...]\n");
        return 2;
    }
    const fs::path output = fs::path(argv[1]);
    const fs::path folder = fs::path(argv[2]);
    std::vector<Part> parts;
    for (int i = 3; i < argc; ++i) {
        Part part;
        part.name = argv[i];
        const fs::path path = folder / fs::path(part.name);
        if (!TypeOf(path, part.type, part.text)) {
            std::fprintf(stderr, "mhtpack: %s: unknown kind of file\n", argv[i]);
            return 1;
        }
        if (!ReadFile(path, part.bytes)) {
            std::fprintf(stderr, "mhtpack: cannot read %s\n", path.string().c_str());
            return 1;
        }
        parts.push_back(std::move(part));
    }
    if (parts.front().type != "text/html") {
        std::fprintf(stderr, "mhtpack: the main page must be HTML\n");
        return 1;
    }
    const std::string archive = Archive(parts);
    std::error_code ignored;
    fs::create_directories(output.parent_path(), ignored);
    std::ofstream out(output, std::ios::binary);
    out.write(archive.data(), std::streamsize(archive.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "mhtpack: cannot write %s\n", output.string().c_str());
        return 1;
    }
    return 0;
}
