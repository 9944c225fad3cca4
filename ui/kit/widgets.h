// Small widgets every screen uses, in the theme's colours.
#pragma once

#include <imgui.h>

#include <string>

namespace rallinox::ui {

void mutedText(const char* format, ...) IM_FMTARGS(1);
// The same, wrapped at the right edge.
void mutedTextWrapped(const char* format, ...) IM_FMTARGS(1);
// A button in the accent colour with white text.
bool accentButton(const char* label, const ImVec2& size = ImVec2(0, 0));
// A button in the danger colour, for actions that remove something.
bool dangerButton(const char* label, const ImVec2& size = ImVec2(0, 0));
// "< Back" (when withBack) and the title at 1.25 x the font size, then a
// separator. Returns whether "< Back" was pressed.
bool screenHeader(const char* title, bool withBack);
// A tooltip for the last item once it has been hovered a moment.
void hoverTip(const char* text);
// Text drawn at a multiple of the current font size.
void largeText(const char* text, float fontScale);
// The next dialog in the middle of the window, also after the window was
// made smaller: it never hangs off the screen.
void centreNextDialog();
// A section's title with a separator line running on to the right edge.
void sectionTitle(const char* text);

// A checkbox whose label wraps at the right edge; the label toggles it too.
bool checkboxWrapped(const char* label, bool& value);

// The width of a button or a checkbox with this label in the current style.
float buttonWidth(const char* label);
float checkboxWidth(const char* label);
// Before an item of the given width: on the line of the last item when it
// fits there, else at the start of the next line.
void sameLineOrWrap(float itemWidth);

// Items left to right that go on to a new line when the next one would
// not fit: one more button simply wraps.
class FlowRow {
public:
    bool button(const char* label, const ImVec2& size = ImVec2(0, 0));
    bool dangerButton(const char* label);
    bool accentButton(const char* label, const ImVec2& size);
    // Before any other item of this width.
    void place(float itemWidth);

private:
    bool first_ = true;
};

// Texts side by side on one line, up to a right edge (screen x): the text
// that would reach past it is shortened with "...", those after it are left
// out, and the whole line then shows as a tooltip (set when the line goes
// out of scope).
class FittedLine {
public:
    explicit FittedLine(float right);
    // Up to the right edge of what is left of the current line.
    FittedLine();
    ~FittedLine();
    FittedLine(const FittedLine&) = delete;
    FittedLine& operator=(const FittedLine&) = delete;

    // spacing < 0: the style's item spacing.
    void text(const std::string& text, const ImVec4* color = nullptr, float spacing = -1);
    bool cut() const { return cut_; }

private:
    float right_;
    bool first_ = true;
    bool cut_ = false;
    std::string whole_;
    ImVec2 min_;
    float bottom_ = 0;
};

// The longest start of the text that fits the width with "..." after it
// (the text itself when it fits), cut between characters.
std::string shortenedToFit(const std::string& text, float width);

}  // namespace rallinox::ui
