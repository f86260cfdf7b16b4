/*
** A window described as data: its elements by component name, with kind,
** parent, bounds, caption, font, colour and initial state.
**
** The logic layers describe their windows once with these types; each view
** (Qt on Linux, native controls on Windows) builds its widgets from the same
** description, so captions, sizes and fonts are written in one place. The
** descriptions are constant tables: no toolkit type appears here.
*/
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv::form {

enum class Kind {
  Panel,        // a plain area with an optional caption drawn on it
  PageControl,  // pages of which one is shown; its tabs are hidden
  TabSheet,     // one page of a PageControl
  TabControl,   // a row of tabs over one shared client area
  Memo,         // multi-line text
  CheckBox,
  Label,        // one line of text
  Gauge,        // a progress bar drawn without text
  Button,
  Timer,        // not visible; ticks every `interval` ms while enabled
  Picture,      // an image carried by the program, named by `resource`
};

/* Where an element sits in its parent. None keeps its bounds; Top and Bottom
** take the parent's width at the top or bottom edge (keeping their height);
** Client fills what Top and Bottom leave. */
enum class Align { None, Top, Bottom, Client };

enum class TextAlign { Left, Centre, Right };

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Colour, Colour) = default;
};

inline constexpr Colour kWindowColour{240, 240, 240};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kGaugeGreen{0, 128, 0};

/* A font size in points as pixels of the 96-dpi screen the forms are described for. */
constexpr int PointsToPixels(int points) { return (points * 96 + 36) / 72; }

struct Font {
  std::string_view family;  // as the Windows program names it; views map it to a local face
  int pixels = 0;           // character height in pixels
  bool bold = false;
  bool fixedPitch = false;  // the view must pick a monospaced face (aligned columns)
};

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;  // in the parent's client pixels
};

struct Element {
  std::string_view name;    // the component name, also the view's object name
  Kind kind = Kind::Panel;
  std::string_view parent;  // empty: the form itself
  Bounds bounds;
  Align align = Align::None;
  std::string_view caption;  // text; for a Memo its initial lines separated by "\n"
  Font font;                 // family empty: the form's font
  Colour colour = kWindowColour;  // background; for a Gauge its bar
  Colour textColour = kBlack;
  TextAlign textAlign = TextAlign::Left;
  bool visible = true;
  bool enabled = true;
  bool checked = false;      // CheckBox
  bool readOnly = false;     // Memo
  bool verticalScrollBar = false;  // Memo
  bool focused = false;      // has the keyboard focus when the form opens
  int tabStop = 0;           // Memo: tab stops every so many characters (0: the view's default)
  int interval = 0;          // Timer, ms
  int maximum = 100;         // Gauge
  std::string_view resource; // Picture
};

enum class Border {
  None,    // no frame, no caption
  Dialog,  // fixed size, caption with the system menu only
  Sizeable,  // resizable, system menu and maximise
};

struct Form {
  std::string_view name;
  std::string_view caption;
  int width = 0, height = 0;
  bool outerSize = false;  // width and height include the frame (else they are the client area)
  Border border = Border::Dialog;
  bool stayOnTop = false;
  bool centred = true;     // on the screen
  Font font;
  Colour colour = kWindowColour;
  std::span<const Element> elements;  // parents come before their children

  /* The element named name; throws std::out_of_range for an unknown name. */
  const Element& Get(std::string_view elementName) const {
    for (const Element& e : elements)
      if (e.name == elementName) return e;
    throw std::out_of_range("form " + std::string(name) + " has no element " + std::string(elementName));
  }
  /* The element's font with the form's font filled in where it is unset. */
  Font FontOf(const Element& e) const {
    Font f = e.font.family.empty() ? Font{font.family, e.font.pixels ? e.font.pixels : font.pixels, e.font.bold,
                                          e.font.fixedPitch}
                                   : e.font;
    return f;
  }
};

}  // namespace kv::form
