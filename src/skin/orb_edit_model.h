// The text model behind TOrbEdit: UTF-8 text addressed by character
// indices, a caret and a selection anchor, and the one-level undo. Kept
// apart from the control so the editing rules can be read (and tested)
// without any drawing or input around them.
//
// Indices count characters (code points), so a caret can never stand
// inside a multi-byte sequence; a stray byte that is not valid UTF-8
// counts as one character of its own.
#pragma once

#include <string>
#include <vector>

enum class TEditMove { Back, Forward };
enum class TEditExtend { No, Yes };
enum class TEditJump { Step, ToEnd };

class TOrbEditModel {
public:
    const std::string& Text() const { return FText; }
    // Replaces the text; caret and anchor are kept within the new length.
    void SetText(const std::string& utf8);
    int Length() const { return int(FBounds.size()) - 1; }
    // Byte offset of the boundary before character `index` (0..Length()).
    size_t ByteOffset(int index) const;
    // The characters [from, to) as UTF-8.
    std::string Slice(int from, int to) const;

    // -1 is none. A selection exists when both are set and differ.
    int CaretPos = -1;
    int SelAnchor = -1;
    bool HasSelection() const { return SelAnchor >= 0 && CaretPos >= 0 && SelAnchor != CaretPos; }
    int SelLow() const;
    int SelHigh() const;
    std::string SelText() const;
    void SelectAll();
    void DropSelection() { SelAnchor = -1; }
    // Caret and anchor at `index`, clamped to the text.
    void PlaceCaret(int index);
    // Moves the caret to `index` keeping (or setting) the anchor.
    void ExtendTo(int index);

    std::string UndoText;

    // The editing steps; each answers whether the text changed.
    // Deleting a selection saves the previous text as UndoText.
    bool DeleteSelection();
    bool Backspace();      // the selection, else the character before the caret
    bool DeleteForward();  // the selection, else the character after it (saves UndoText)
    bool InsertText(const std::string& utf8);  // replaces a selection; caret after it
    bool Paste(const std::string& utf8);       // as InsertText, saving UndoText
    bool SwapUndo();                           // text and UndoText change places
    void Move(TEditMove direction, TEditExtend extend, TEditJump jump);

private:
    void Rebuild();
    void ClampIndices();
    void Splice(int from, int to, const std::string& utf8);

    std::string FText;
    std::vector<size_t> FBounds{0};  // byte offset of every character boundary
};

// Byte length of the UTF-8 sequence starting at `s[pos]` (1 for a byte
// that starts no valid sequence).
size_t Utf8SequenceLength(const std::string& s, size_t pos);
