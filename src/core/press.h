// One press of a remote button on its way down, and what it did.
//
// The poll reads a KeyCode, the repeat filter says whether it is a frame of
// a held button and how long the button has been held, and the Press
// travels down in the call: to the Shut Down dialog or to the key router,
// and from there to an application, the user's application in front, the
// pointer or the dialog. Each of them writes into the outcome of the press
// being routed what it sent, or why it sent nothing; the router hands that
// outcome back, the one account of a press.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

struct System;

// No key: a scan code missing from its table. It matches no key map entry
// and no button anywhere; the key maps also get it for every repeat.
constexpr std::uint32_t kNoKey = 255;

struct Press {
    std::uint32_t keyCode = kNoKey;  // as read, also for a repeat
    bool repeat = false;             // a frame of a held button
    std::uint32_t heldFor = 0;       // a repeat: ms since the press that began the hold
};

// The KeyCode the key maps of the six applications see: kNoKey for a repeat.
constexpr std::uint32_t MapCode(const Press& press) {
    return press.repeat ? kNoKey : press.keyCode;
}

// Who got a press.
enum class PressTaker : std::uint8_t {
    kNobody,
    kBuiltInApp,      // one of the six, by its name
    kUserApp,         // a user application, by its section
    kPointer,         // the mouse emulation
    kShutdownDialog,  // the Shut Down dialog: opened, or answered
};

struct PressOutcome {
    PressTaker taker = PressTaker::kNobody;
    std::string name;  // of the application or the section; empty for the others
    std::string sent;  // "Ctrl+Shift+P", "message 3000 (10003)", "pointer up"...; empty: nothing
    std::string why;   // when nothing was sent: "TotalMedia is not in front"
};

// While a press is routed, its outcome is the one the calls below write
// into; a press routed in a nested tick (inside a modal loop) has its own.
class PressScope {
  public:
    PressScope(System& sys, PressOutcome& outcome);
    ~PressScope();
    PressScope(const PressScope&) = delete;
    PressScope& operator=(const PressScope&) = delete;

  private:
    System& sys_;
    PressOutcome* outer_;
};

// Who takes the press being routed (no press: nothing).
void NoteTaker(System& sys, PressTaker taker, std::string_view name = {});
// What was sent to it; a second send is added after ", ".
void NoteSent(System& sys, std::string_view text);
// Why nothing was sent: the taker's name, a blank and the text ("is not in
// front"), or the text alone without a name. The first reason stays.
void NoteNotSent(System& sys, std::string_view text);

}  // namespace rc
