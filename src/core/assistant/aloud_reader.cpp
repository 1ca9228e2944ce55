#include "core/assistant/aloud_reader.h"

#include <exception>
#include <memory>
#include <utility>

#include "core/app/event_loop.h"
#include "core/assistant/agent_host.h"
#include "core/assistant/reading_chunks.h"
#include "core/common/string_table.h"
#include "core/outlook/object_model.h"
#include "core/outlook/outlook_session.h"

namespace planwarte {

namespace {

constexpr int kOpenItemCaption = 1225;  // "Vorlesen des geöffneten Outlookeintrags"
constexpr int kNoText = 1226;           // "Ohh, kein Text vorhanden?"
constexpr int kNoClipboardText = 1227;

// A said message with the reading gestures around it, waited for.
constexpr SpeakOptions kMessageOptions{.gesture_before = true, .gesture_after = true};

}  // namespace

AloudReader::AloudReader(AgentHost& host, EventLoop& loop,
                         std::function<void(const std::string&)> trace)
    : host_(host), loop_(loop), trace_(std::move(trace)) {}

bool AloudReader::CheckOpenMail(OutlookSession& session) {
    return OpenMail(session, true);
}

void AloudReader::ReadOpenMail(OutlookSession& session) {
    OpenMail(session, false);
}

bool AloudReader::OpenMail(OutlookSession& session, bool check) {
    try {
        if (check) {
            menu_.read_open_item_caption = LoadStr(kOpenItemCaption);
        }
        const std::shared_ptr<OlInspector> inspector = session.Application().ActiveInspector();
        if (!inspector) {
            return false;
        }
        const auto mail = std::dynamic_pointer_cast<OlMailItem>(inspector->CurrentItem());
        if (!mail) {
            return false;
        }
        if (check) {
            return true;
        }
        const std::string subject = mail->Subject();
        const std::string body = mail->Body();
        ReadText(subject);
        ReadText(body);
        return true;
    } catch (const std::exception& error) {
        trace_(std::string("_25_") + error.what());
        return false;
    }
}

void AloudReader::ReadText(const std::string& text) {
    host_.SetStop(false);
    menu_.read_clipboard_enabled = false;
    menu_.read_open_item_enabled = false;
    if (text_busy_) {
        // The running reading enables the entries when it ends.
        return;
    }
    // Set before the start: a reading starts the assistant also when the user switched it off.
    host_.SetForce(true);
    if (!host_.LoadAgent(0, 0, true)) {
        menu_.read_clipboard_enabled = true;
        menu_.read_open_item_enabled = true;
        return;
    }
    text_busy_ = true;
    host_.SetIdleTicks(0);
    host_.PlayAnimation("Read");
    host_.PlayAnimation("ReadContinued");
    if (!text.empty()) {
        ReadChunked(text);
    } else {
        host_.SpeakText(LoadStr(kNoText), kMessageOptions);
    }
    host_.PlayAnimation("ReadReturn");
    text_busy_ = false;
    menu_.read_clipboard_enabled = true;
    menu_.read_open_item_enabled = true;
}

void AloudReader::ReadClipboard(ClipboardText* clipboard) {
    host_.SetStop(false);
    menu_.read_clipboard_enabled = false;
    if (clipboard_busy_) {
        return;
    }
    host_.SetForce(true);
    if (!host_.LoadAgent(0, 0, true)) {
        menu_.read_clipboard_enabled = true;
        return;
    }
    clipboard_busy_ = true;
    host_.SetIdleTicks(0);
    host_.PlayAnimation("Read");
    host_.PlayAnimation("ReadContinued");
    if (const std::optional<std::string> text = clipboard ? clipboard->PlainText() : std::nullopt) {
        if (!text->empty()) {
            ReadChunked(*text);
        } else {
            host_.SpeakText(LoadStr(kNoClipboardText), kMessageOptions);
        }
    }
    host_.PlayAnimation("ReadReturn");
    clipboard_busy_ = false;
    menu_.read_clipboard_enabled = true;
}

void AloudReader::ReadChunked(const std::string& text) {
    if (!host_.Available()) {
        trace_("_26_");
        return;
    }
    for (const ReadingChunk& chunk : ReadingChunks(text)) {
        if (!host_.Available()) {
            if (chunk.end == ReadingChunk::End::Length) {
                continue;
            }
            return;
        }
        host_.SpeakText(chunk.text, {});
    }
    WaitUntilSaid();
}

// Until the character is idle after the last chunk; messages keep running meanwhile. A
// character that was hidden (stop) or is gone altogether has nothing left to say.
void AloudReader::WaitUntilSaid() {
    loop_.ProcessPendingMessages();
    while (!host_.IsIdle()) {
        host_.SetIdleTicks(0);
        if (host_.Stopped() || !host_.Loaded()) {
            return;
        }
        loop_.Sleep(kFinalWaitPollMs);
        loop_.ProcessPendingMessages();
    }
}

}  // namespace planwarte
