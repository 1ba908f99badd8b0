#include "apps/button_names.h"

#include <iterator>

#include "core/press.h"
#include "core/system.h"
#include "core/text.h"

namespace rc {

namespace {

// The KeyCodes of one button on one layout; an unused one is kNoKey, never
// a button.
struct KeyPair {
    constexpr KeyPair() = default;
    constexpr KeyPair(std::uint8_t first, std::uint8_t second = kNoKey) : a(first), b(second) {}
    std::uint8_t a = kNoKey;
    std::uint8_t b = kNoKey;
};

struct ButtonRow {
    const char* name;   // as the applications file names it
    const char* label;  // as a person reads it on the screen
    KeyPair k44, k32, k50, k35;
};

constexpr KeyPair _{};

// The power keys and the 1-3 button are the router's; every other row is
// what the key maps do with the KeyCode: on 44KEY KeyCode 19 sends F10
// (volume up) to Media Center and 401 to Pallamo, so it is "volup". Where
// the maps disagree, the row goes with the two that agree (35KEY KeyCode 20
// is digit 0 to Pallamo; 50KEY KeyCode 20 skips forward in TotalMedia).
// clang-format off
constexpr ButtonRow kButtons[] = {
    // Name      Label           44KEY     32KEY   50KEY     35KEY
    {"power",     "Power",        {12},     {67},   {13, 50}, {12, 22}},
    {"shutdown",  "Shut down",    {29},     {3},    {12},     _},
    {"num0",      "0",            {10},     {17},   {0},      {20}},
    {"num1",      "1",            {0},      {4},    {1},      {0}},
    {"num2",      "2",            {1},      {8},    {2},      {1}},
    {"num3",      "3",            {2},      {2},    {3},      {2}},
    {"num4",      "4",            {3},      {15},   {4},      {3}},
    {"num5",      "5",            {4},      {5},    {5},      {4}},
    {"num6",      "6",            {5},      {6},    {6},      {5}},
    {"num7",      "7",            {6},      {12},   {7},      {6}},
    {"num8",      "8",            {7},      {13},   {8},      {7}},
    {"num9",      "9",            {8},      {10},   {9},      {8}},
    {"ok",        "OK",           {11},     {18},   {11, 34}, {11}},
    {"up",        "Up",           {32, 69}, {24},   {30},     {32}},
    {"down",      "Down",         {33, 70}, {25},   {31},     {33}},
    {"left",      "Left",         {66},     {26},   {32},     {66}},
    {"right",     "Right",        {67},     {27},   {33},     {67}},
    {"back",      "Back",         {14},     {28},   {35},     {14, 19}},
    {"chup",      "Channel up",   {16},     {9},    {18},     {17}},
    {"chdown",    "Channel down", {17},     {7},    {19},     {27}},
    {"volup",     "Volume up",    {19},     {14},   {16},     {18}},
    {"voldown",   "Volume down",  {18},     {19},   {17},     {72}},
    {"mute",      "Mute",         {20},     {23},   {14},     {68}},
    {"play",      "Play",         {68, 71}, {22},   {22, 24}, {25, 65}},
    {"stop",      "Stop",         {26},     {21},   {25},     {64}},
    {"record",    "Record",       {27},     {20},   {23},     {26}},
    {"next",      "Next",         {65},     _,      {20},     {28}},
    {"prev",      "Previous",     {64},     _,      {21},     {30}},
    {"ffwd",      "Fast forward", _,        _,      {26},     _},
    {"rewind",    "Rewind",       _,        _,      {27},     _},
    {"tv",        "TV",           {22},     {30},   {37},     {23}},
    {"fullscreen", "Full screen", {23},     {11},   {28},     {10}},
    {"guide",     "Guide",        {75},     _,      _,        _},
    {"dvdmenu",   "DVD menu",     {35},     _,      {36},     _},
    {"teletext",  "Teletext",     {34},     _,      {90},     _},
    {"red",       "Red",          _,        _,      {91},     _},
    {"green",     "Green",        _,        _,      {92},     _},
    {"yellow",    "Yellow",       _,        _,      {93},     _},
    {"blue",      "Blue",         _,        _,      {94},     _},
};
// clang-format on

// Each layout's column holds every KeyCode at most once.
consteval bool KeyCodesUniquePerLayout() {
    for (auto column : {&ButtonRow::k44, &ButtonRow::k32, &ButtonRow::k50, &ButtonRow::k35}) {
        bool seen[256] = {};
        for (const ButtonRow& row : kButtons) {
            for (std::uint8_t code : {(row.*column).a, (row.*column).b}) {
                if (code == kNoKey) {
                    continue;
                }
                if (seen[code]) {
                    return false;
                }
                seen[code] = true;
            }
        }
    }
    return true;
}
static_assert(KeyCodesUniquePerLayout());

const KeyPair* PairOf(const ButtonRow& row, std::uint32_t layout) {
    switch (layout) {
        case k44Key:
            return &row.k44;
        case k32Key:
            return &row.k32;
        case k50Key:
            return &row.k50;
        case k35Key:
            return &row.k35;
        default:
            return nullptr;
    }
}

}  // namespace

int FindButtonName(std::string_view name) {
    for (int i = 0; i < ButtonNameCount(); ++i) {
        if (SameText(name, kButtons[i].name)) {
            return i;
        }
    }
    return kNoButtonName;
}

bool ButtonSends(int nameIndex, std::uint32_t layout, std::uint32_t keyCode) {
    if (nameIndex < 0 || nameIndex >= ButtonNameCount() || keyCode >= kNoKey) {
        return false;
    }
    const KeyPair* pair = PairOf(kButtons[nameIndex], layout);
    return pair != nullptr && (pair->a == keyCode || pair->b == keyCode);
}

const char* ButtonNameOf(std::uint32_t layout, std::uint32_t keyCode) {
    for (int i = 0; i < ButtonNameCount(); ++i) {
        if (ButtonSends(i, layout, keyCode)) {
            return kButtons[i].name;
        }
    }
    return nullptr;
}

const char* ButtonLabelOf(std::uint32_t layout, std::uint32_t keyCode) {
    for (int i = 0; i < ButtonNameCount(); ++i) {
        if (ButtonSends(i, layout, keyCode)) {
            return kButtons[i].label;
        }
    }
    return nullptr;
}

int ButtonNameCount() {
    return static_cast<int>(std::size(kButtons));
}

const char* ButtonName(int nameIndex) {
    return nameIndex >= 0 && nameIndex < ButtonNameCount() ? kButtons[nameIndex].name : nullptr;
}

const char* ButtonLabelAt(int nameIndex) {
    return nameIndex >= 0 && nameIndex < ButtonNameCount() ? kButtons[nameIndex].label : nullptr;
}

bool ButtonOnLayout(int nameIndex, std::uint32_t layout) {
    if (nameIndex < 0 || nameIndex >= ButtonNameCount()) {
        return false;
    }
    const KeyPair* pair = PairOf(kButtons[nameIndex], layout);
    return pair != nullptr && (pair->a != kNoKey || pair->b != kNoKey);
}

}  // namespace rc
