// Keyboard layouts: what each DirectInput key code types on the normal, shift and AltGr levels,
// its name and its key type, and the text editing that GUI labels use.
//
// Layout files (".lay") are property files:
//   <TASTATURLAYOUTS>
//     <LAYOUT NAME="DEUTSCH" DEFAULT="1">
//       <KEY CODE="16" NAME="Q" NORMAL="q" SHIFT="Q" ALTGR="@" TYP="LETTER"/>
//       <KEY CODE="14" NAME="BACK" TYP="BACKSPACE"/>
//     </LAYOUT>
//   </TASTATURLAYOUTS>
// CODE is the decimal scan code (0x-prefixed hexadecimal also reads), NAME the key's name for key
// combinations. NORMAL, SHIFT and ALTGR hold one character each, or "#" and its decimal code
// point for characters the format cannot quote (#34 is '"'). TYP is the type of the normal
// level; TYP_SHIFT and TYP_ALTGR may set the other levels'. A level without its own type takes
// the type of its character (letter, digit, punctuation, other) or, when it types nothing, the
// normal level's type. Keys with a bad or missing CODE or NAME are skipped with a log line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/InputState.h"

namespace Orvex {

class XMLNode;

// Key types, as bit flags so that a set of accepted types is one mask.
enum TastaturKeyType : u32 {
    KT_LETTER = 1,
    KT_NUMBER = 2,
    KT_SATZ = 4,     // punctuation and the space bar
    KT_SONDER = 8,   // other printable characters
    KT_STEUER = 16,  // caret keys
    KT_REST = 32,    // everything that types nothing (function keys, Enter, modifiers ...)
    KT_BACKSPACE = 64,
    KT_DEL = 128,
};

// A text being edited: the parts before and after the caret.
class TextEditState {
public:
    // caretPosition -1 (or any position outside the text) puts the caret after the text;
    // maxLength -1 means no limit. A caret character of 0 shows no caret.
    TextEditState(std::wstring const& text, wchar_t caretChar, int caretPosition = -1, int maxLength = -1,
                  bool caretMovement = true);

    std::wstring const& getTextBeforeCaret() const { return before_; }
    std::wstring const& getTextAfterCaret() const { return after_; }
    int getCaretPosition() const { return static_cast<int>(before_.size()); }
    std::wstring getWholeText() const { return before_ + after_; }
    // The text with the caret character at the caret.
    std::wstring getDisplayText() const;

    wchar_t getCaretChar() const { return caretChar_; }
    int getMaxLength() const { return maxLength_; }
    bool canMoveCaret() const { return caretMovement_; }

    // Each returns true when the text or the caret changed.
    bool insert(wchar_t ch);  // refused at the maximum length
    bool deleteBeforeCaret();
    bool deleteAfterCaret();
    bool moveCaretLeft();  // the caret moves only with the caret-movement flag
    bool moveCaretRight();
    bool moveCaretHome();
    bool moveCaretEnd();

private:
    std::wstring before_;
    std::wstring after_;
    wchar_t caretChar_;
    int maxLength_;
    bool caretMovement_;
};

class TastaturLayout {
public:
    enum Level { LEVEL_NONE = -1, LEVEL_NORMAL = 0, LEVEL_SHIFT = 1, LEVEL_ALTGR = 2, LEVEL_COUNT = 3 };

    struct Key {
        bool defined = false;
        std::wstring name;
        wchar_t chars[LEVEL_COUNT] = {};  // 0: the level types nothing
        u32 types[LEVEL_COUNT] = {KT_REST, KT_REST, KT_REST};
    };

    explicit TastaturLayout(std::wstring name = std::wstring());

    // Reads the "KEY" children of one "LAYOUT" element; returns the number of keys taken.
    u32 load(XMLNode& node);

    std::wstring const& getName() const { return name_; }
    Key const& getKey(u8 code) const { return keys_[code]; }
    void setKey(u8 code, Key const& key);

    // The key code of the key with that name (letter case ignored); false when none.
    bool findKeyByName(std::wstring const& name, u8& code) const;
    // The key whose normal, shift or AltGr character is the text's first character (normal
    // levels of all keys first, then shift, then AltGr; lower codes first); false when none.
    bool findKeyByChar(std::wstring const& text, u8& code) const;

    // The level the modifiers select: AltGr, else shift (inverted by caps lock on letter keys),
    // else normal; LEVEL_NONE while Ctrl or the left Alt key alone is held.
    Level getLevel(u8 code, KeyState const& state) const;
    // The character the key types in that state; 0 when it types nothing. For the key pressed in
    // a state that carries the system's characters, the one the system typed: the layout's
    // characters stand in only where the input reports none.
    wchar_t getChar(u8 code, KeyState const& state) const;
    // One of the key-type flags for the key in that state; a key the system typed a character
    // with is of that character's type, unless the layout makes it a caret, backspace or delete key.
    u32 getKeyType(u8 code, KeyState const& state) const;
    // "LETTER" 1 ... "DEL" 128, each also with the prefix "KT_"; anything else is KT_REST.
    static u32 parseKeyType(std::wstring const& name);
    // The type of a character by itself: letter, digit, punctuation, other printable, or KT_REST.
    static u32 classifyChar(wchar_t ch);

    // Applies the key to the edit state: backspace and delete keys remove a character, the
    // caret keys (left, right, home, end) move the caret, other keys insert their character
    // unless it is refused ('<' '"' '=' '>' with refuseAttChars, '|' with refusePropChars,
    // control characters always) or the maximum length is reached. True when the text or the
    // caret changed.
    bool editText(TextEditState& edit, u8 code, KeyState const& state, bool refuseAttChars,
                  bool refusePropChars) const;

    // Every character the layout types on any level, each once, in key-code order.
    std::wstring getTypeableChars() const;

private:
    std::wstring name_;
    Key keys_[KeyState::kKeyCount];
};

class TastaturLayoutManager {
public:
    static TastaturLayoutManager& getInstance();

    // Reads every "LAYOUT" child of the node (the root of a layout file). A layout replaces a
    // loaded one of the same name. The layout marked "DEFAULT" becomes active; without one the
    // active layout stays, or the first layout becomes active. Returns the number of layouts read.
    u32 load(XMLNode& node);
    // Loads a layout file through the archives, then the disk; false when it could not be read.
    bool loadFile(std::wstring const& fileName);

    TastaturLayout* getActiveLayout() const { return active_; }
    // False (and the active layout unchanged) when no layout has that name.
    bool setActiveLayout(std::wstring const& name);
    TastaturLayout* getLayout(std::wstring const& name) const;
    std::vector<std::wstring> getLayoutNames() const;
    void clear();

    TastaturLayoutManager(TastaturLayoutManager const&) = delete;
    TastaturLayoutManager& operator=(TastaturLayoutManager const&) = delete;

private:
    TastaturLayoutManager() = default;

    std::vector<std::unique_ptr<TastaturLayout>> layouts_;
    TastaturLayout* active_ = nullptr;
};

}  // namespace Orvex
