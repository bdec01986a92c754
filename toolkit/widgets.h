#pragma once
// Widgets by number, placed at (x, y, width, height) in the current window or
// container. Every creator takes a number (kAny allocates one), frees a
// widget already under that number, and returns the number, or -1 when there
// is no current window. Every call on a number that names no widget does
// nothing and returns a neutral value (0, "", -1).
//
// Changes made through these calls raise no events; only the user (or the
// drivers of toolkit/testing.h, which act as the user) raise them.
#include <functional>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "toolkit/window.h"

namespace tk {

// ---- kinds of widget ----
enum class WidgetKind {
  NoWidget, Button, ImageButton, ImageView, Label, Input, TextArea, CheckBox, Option, DropDown,
  ListView, Panel, ScrollArea, Container, Canvas, Slider, Foreign
};
WidgetKind widget_kind(int widget);
bool widget_exists(int widget);
int widget_window(int widget);  // the window holding it, -1 when none

// Button with a text; click: kLeftClick.
int button(int number, int x, int y, int width, int height, const std::string& text);

// Button showing an image; a toggle one keeps a state 0/1 (set_state/state).
// Click: kLeftClick.
constexpr unsigned kImageButtonToggle = 1;
int image_button(int number, int x, int y, int width, int height, int image, unsigned flags = 0);

// Shows an image (top-left). Clicks are reported on release: kLeftClick on the
// release of a single press, kLeftDoubleClick on the release ending a double
// press (after the kLeftClick of its first press); the right button likewise.
constexpr unsigned kImageViewSunken = 1;  // inside a sunken frame
int image_view(int number, int x, int y, int width, int height, int image, unsigned flags = 0);
// Image shown by an image view or image button: a copy made now, so redraws
// of the image later need another call. -1 or a missing image shows nothing.
void set_image(int widget, int image);
int widget_image(int widget);  // number last set, -1 when none

// Text label; a label (or any widget but an option) ends a group of options.
constexpr unsigned kLabelCentre = 1;
constexpr unsigned kLabelRight = 2;
int label(int number, int x, int y, int width, int height, const std::string& text,
          unsigned flags = 0);

// One-line input. Digits-only drops every typed or pasted character other
// than 0-9. Events: kChange on user edits, kFocus, kLostFocus.
constexpr unsigned kInputDigits = 1;
constexpr unsigned kInputReadOnly = 2;
constexpr unsigned kInputBorderless = 4;
int input(int number, int x, int y, int width, int height, const std::string& text,
          unsigned flags = 0);

// Multi-line text area with scroll bars. Events: kChange, kFocus, kLostFocus.
constexpr unsigned kTextReadOnly = 1;
int text_area(int number, int x, int y, int width, int height, unsigned flags = 0);

// Check box, state 0/1. Click: kLeftClick.
int check_box(int number, int x, int y, int width, int height, const std::string& text);

// Option button; consecutive options form a group of which one is selected
// (state 1). A new group starts with the first option created after another
// widget. Click: kLeftClick.
int option(int number, int x, int y, int width, int height, const std::string& text);

// Drop-down list, not editable. Items are added with add_item; with
// kDropDownImages every item shows the picture given to add_item. State: the
// selected index, -1 for none. set_text selects the first item with exactly
// that text, or none. Event: kChange when the user picks an item.
constexpr unsigned kDropDownImages = 1;
int drop_down(int number, int x, int y, int width, int height, unsigned flags = 0);

// List with columns. The first column is made here; add_column adds more.
// A row's text holds its column texts separated by '\n'; its picture shows
// in the first column. State: the selected row, -1 for none. Events:
// kChange when the user changes the selection or a check box, kLeftClick,
// kRightClick, kLeftDoubleClick on a press in the list.
constexpr unsigned kListCheckBoxes = 1;  // a check box at the start of every row
constexpr unsigned kListNoHeaders = 2;
int list_view(int number, int x, int y, int width, int height, const std::string& title,
              int column_width, unsigned flags = 0);
void add_column(int list, int position, const std::string& title, int width);
int column_count(int list);

// Tabbed panel. Widgets created after add_tab go into that tab's page until
// close_container(). State: the current tab. Event: kChange when the user
// picks a tab. The texts of the tabs are its items.
int panel(int number, int x, int y, int width, int height);
int add_tab(int panel, const std::string& text, int image = -1);  // index of the tab
int panel_page_width(int panel);   // size of the page area
int panel_page_height(int panel);

// Scroll area holding a fixed area of a settable inner size; widgets created
// after it go inside until close_container(). Scroll bars show as needed.
constexpr unsigned kScrollEtched = 1;  // etched border
constexpr unsigned kScrollRaised = 2;  // raised border
int scroll_area(int number, int x, int y, int width, int height, int inner_width,
                int inner_height, int scroll_step, unsigned flags = 0);
void set_scroll_inner_size(int scroll_area, int inner_width, int inner_height);
int scroll_inner_width(int scroll_area);
int scroll_inner_height(int scroll_area);
int scroll_x(int scroll_area);  // scrolled position
int scroll_y(int scroll_area);
void set_scroll_position(int scroll_area, int x, int y);

// Container with a frame; widgets created after it go inside (positions
// relative to it) until close_container().
constexpr unsigned kContainerRaised = 1;
constexpr unsigned kContainerFlat = 2;  // no frame
int container(int number, int x, int y, int width, int height, unsigned flags = 0);

// Makes a scroll area, container or panel page the place for new widgets
// (pushed over the current one) / returns to the previous place.
void use_container(int container);
void use_tab(int panel, int tab);
void close_container();

// Canvas: shows an image the toolkit owns, always the canvas's size (resizing
// keeps the top-left content, new parts transparent). Draw into it with
// imaging, then call refresh_canvas. Events: kCanvasMouseEnter, Leave, Move,
// LeftButtonDown (then kLeftClick), LeftButtonUp, RightButtonDown (then
// kRightClick), RightButtonUp, KeyDown; the event carries x, y, buttons, key
// and modifiers, also readable below for the last event of the canvas.
int canvas(int number, int x, int y, int width, int height);
// Whether a canvas of that size keeps a whole image of its size; a larger
// one keeps only its top-left part.
bool canvas_fits(int width, int height);
imaging::Image* canvas_image(int canvas);  // nullptr when not a canvas
void refresh_canvas(int canvas);
// A canvas can also be drawn on demand: after invalidate_canvas the painter
// is asked for the parts that come into sight, and canvas_image first has it
// draw the rest, so that the image read back is whole. The painter draws the
// w x h part at (x, y) and leaves the other pixels of the image alone.
using CanvasPainter = std::function<void(imaging::Image& image, int x, int y, int w, int h)>;
void set_canvas_painter(int canvas, CanvasPainter painter);  // nullptr for none
void invalidate_canvas(int canvas);
int canvas_mouse_x(int canvas);
int canvas_mouse_y(int canvas);
int canvas_buttons(int canvas);
int canvas_key(int canvas);
int canvas_modifiers(int canvas);

// Horizontal slider over minimum..maximum. State: the value. Event: kChange.
int slider(int number, int x, int y, int width, int height, int minimum, int maximum);

// ---- every kind ----
void free_widget(int widget);  // with the widgets inside it
void resize_widget(int widget, int x, int y, int width, int height);  // kKeep keeps a value
int widget_x(int widget);
int widget_y(int widget);
int widget_width(int widget);
int widget_height(int widget);
void hide_widget(int widget, bool hidden);
bool widget_hidden(int widget);
void disable_widget(int widget, bool disabled);
bool widget_disabled(int widget);
void focus_widget(int widget);
bool widget_focused(int widget);

// Text of a button, label, input, text area, check box, option, drop-down
// (the selected item's) or panel (the current tab's).
void set_text(int widget, const std::string& text);
std::string text(int widget);

// State: check box / option / toggle 0-1, drop-down / list selected index,
// panel current tab, slider value.
void set_state(int widget, int state);
int state(int widget);

// Items of a drop-down, list (rows) or panel (tabs). position -1 appends.
// Returns the index of the new item, -1 on failure.
int add_item(int widget, int position, const std::string& text, int image = -1);
void remove_item(int widget, int item);
void clear_items(int widget);
int item_count(int widget);
std::string item_text(int widget, int item, int column = 0);
void set_item_text(int widget, int item, const std::string& text, int column = 0);
void set_item_data(int widget, int item, int data);
int item_data(int widget, int item);
// Check box of a list row (lists with kListCheckBoxes): 0/1.
void set_item_state(int widget, int item, int state);
int item_state(int widget, int item);

// An integer the program keeps with the widget.
void set_widget_data(int widget, int data);
int widget_data(int widget);

void set_tooltip(int widget, const std::string& text);
std::string tooltip(int widget);

// Colours as red + 256 * green + 65536 * blue. Front is the text colour,
// back the background (of a text input: its field).
enum class ColourRole { Front, Back };
void set_colour(int widget, ColourRole role, int colour);
int colour(int widget, ColourRole role);  // -1 when never set

// ---- fonts by number ----
constexpr unsigned kFontBold = 1;
constexpr unsigned kFontItalic = 2;
// Returns the number, -1 on failure; a taken number is replaced.
int load_font(int number, const std::string& family, int size_points, unsigned style = 0);
void free_font(int font);
bool font_exists(int font);
void set_font(int widget, int font);  // -1 back to the default font
int widget_font(int widget);          // -1 when default

}  // namespace tk
