// The page's document and link: language files, image files, undo, and the radio exchanges.
#include <emscripten/bind.h>

#include "web/core/bindings.h"
#include "web/core/js_values.h"
#include "web/core/web_session.h"

namespace halyx::web {
namespace {

using emscripten::val;

void InstallLanguage(WebSession& s, const std::string& name, const std::string& content) {
    s.InstallLanguageFile(name, content);
}

std::string LoadImageBytes(WebSession& s, const val& bytes, const std::string& name) {
    return s.LoadImage(BytesFrom(bytes), name);
}

val SavedImageBytes(const WebSession& s) {
    return ToUint8Array(s.SavedImage());
}

val ImageBytes(const WebSession& s) {
    return ToUint8Array({s.image().bytes.begin(), s.image().bytes.end()});
}

int ImageLength(const WebSession& s) {
    return s.image().length;
}

bool Undo(WebSession& s) {
    return s.history().Undo(s.image());
}

bool Redo(WebSession& s) {
    return s.history().Redo(s.image());
}

bool CanUndo(WebSession& s) {
    return s.history().CanUndo();
}

bool CanRedo(WebSession& s) {
    return s.history().CanRedo();
}

void Receive(WebSession& s, const val& bytes) {
    s.Receive(BytesFrom(bytes));
}

val TakeOutgoing(WebSession& s) {
    return ToUint8Array(s.TakeOutgoing());
}

val TakeEvents(WebSession& s) {
    val events = val::array();
    for (const LinkEvent& e : s.TakeEvents()) {
        val event = val::object();
        event.set("type", e.type);
        event.set("number", e.number);
        event.set("text", e.text);
        events.call<void>("push", event);
    }
    return events;
}

}  // namespace

EMSCRIPTEN_BINDINGS(halyx_session) {
    emscripten::class_<WebSession> session("Session");
    session.constructor<>()
        .function("installLanguageFile", &InstallLanguage)
        .function("useLanguageFile", &WebSession::UseLanguageFile)
        .function("langString", &WebSession::LangString)
        .function("textOr", &WebSession::TextOr)
        .function("loadImage", &LoadImageBytes)
        .function("savedImage", &SavedImageBytes)
        .function("imageBytes", &ImageBytes)
        .function("imageLength", &ImageLength)
        .function("undo", &Undo)
        .function("redo", &Redo)
        .function("canUndo", &CanUndo)
        .function("canRedo", &CanRedo)
        .function("startRead", &WebSession::StartRead)
        .function("startWrite", &WebSession::StartWrite)
        .function("cancelExchange", &WebSession::CancelExchange)
        .function("receive", &Receive)
        .function("tick", &WebSession::Tick)
        .function("armedTimer", &WebSession::ArmedTimer)
        .function("takeOutgoing", &TakeOutgoing)
        .function("takeEvents", &TakeEvents);
    AddFormFunctions(session);
    AddRowAndInterchangeFunctions(session);
}

}  // namespace halyx::web
