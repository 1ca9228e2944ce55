#include "adapters/maildir/mail_reader.h"

#include <gmime/gmime.h>

#include <memory>
#include <mutex>

#include "adapters/maildir/html_to_text.h"

namespace planwarte {

namespace {

void InitGMimeOnce() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GString = std::unique_ptr<char, GFree>;

// Text that is not valid UTF-8 (a part without charset, or one iconv does not know) is
// taken as Windows-1252, which is what such mail nearly always is.
std::string AsUtf8(const char* text) {
    if (text == nullptr) {
        return {};
    }
    if (g_utf8_validate(text, -1, nullptr)) {
        return text;
    }
    GString converted(g_convert(text, -1, "UTF-8", "WINDOWS-1252", nullptr, nullptr, nullptr));
    if (converted) {
        return converted.get();
    }
    GString repaired(g_utf8_make_valid(text, -1));
    return repaired.get();
}

bool IsTextPart(GMimeObject* object, const char* subtype) {
    if (!GMIME_IS_TEXT_PART(object) || g_mime_part_is_attachment(GMIME_PART(object))) {
        return false;
    }
    GMimeContentType* type = g_mime_object_get_content_type(object);
    return type != nullptr && g_mime_content_type_is_type(type, "text", subtype);
}

// The first text part of the given subtype, depth first; attached messages are not searched.
GMimeTextPart* FindTextPart(GMimeObject* object, const char* subtype, int depth = 0) {
    if (object == nullptr || depth > 32) {
        return nullptr;
    }
    if (IsTextPart(object, subtype)) {
        return GMIME_TEXT_PART(object);
    }
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i) {
            if (GMimeTextPart* found =
                    FindTextPart(g_mime_multipart_get_part(multipart, i), subtype, depth + 1)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::string PartText(GMimeTextPart* part) {
    GString text(g_mime_text_part_get_text(part));
    return AsUtf8(text.get());
}

std::string BodyOf(GMimeMessage* message) {
    GMimeObject* root = g_mime_message_get_mime_part(message);
    if (GMimeTextPart* plain = FindTextPart(root, "plain")) {
        return PartText(plain);
    }
    if (GMimeTextPart* html = FindTextPart(root, "html")) {
        return TextOfHtml(PartText(html));
    }
    return {};
}

}  // namespace

std::optional<MailContents> ReadMail(std::string_view bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    InitGMimeOnce();
    // The stream copies the bytes, so the caller's buffer need not outlive the message.
    GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GObjectPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) {
        return std::nullopt;
    }
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message.get()));
    if (headers == nullptr || g_mime_header_list_get_count(headers) == 0) {
        return std::nullopt;
    }
    MailContents contents;
    contents.subject = AsUtf8(g_mime_message_get_subject(message.get()));
    contents.body = BodyOf(message.get());
    if (GDateTime* date = g_mime_message_get_date(message.get())) {
        contents.date = g_date_time_to_unix(date);
    }
    return contents;
}

}  // namespace planwarte
