// Keys by name, both ways: the key names of the applications file
// ("Ctrl+Shift+P", "Space", "MediaPlayPause") and the text that says which
// keys a press sent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

// A modifier by name (Ctrl or Control, Shift, Alt, Win), any letter case.
bool FindModifier(std::string_view name, std::uint32_t* vk);
// A key that is not a modifier, any letter case: a letter or digit, F1 to
// F24, NumPad0 to NumPad9, a name of the table (Space, Enter, PageUp...),
// or a key without a name by its number, "VK 0xE2".
bool FindKey(std::string_view name, std::uint32_t* vk);
// The keys a hotkey control can't record (Backspace, Tab, Enter, Esc, Space,
// and the browser, volume and media keys), in the table's order: their
// number, and the index-th one's name (null past them) and virtual key.
int OtherKeyCount();
const char* OtherKeyAt(int index, std::uint32_t* vk);
// The keys of a chord joined by '+', in press order: "Ctrl+Shift+P". A key
// without a name is given by its number ("VK 0xE2").
std::string ChordText(const std::uint8_t* keys, int count);

}  // namespace rc
