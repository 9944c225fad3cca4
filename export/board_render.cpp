#include "export/board_render.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string>

namespace rallinox {

namespace {

// All lengths are in units of 4 % of the frame's short side.
constexpr double kUnit = 0.04;
constexpr double kMargin = 0.8;

struct Colour {
    double r, g, b, a;
};

constexpr Colour rgba(int r, int g, int b, int a = 255) {
    return {r / 255.0, g / 255.0, b / 255.0, a / 255.0};
}

constexpr Colour kBackground = rgba(15, 23, 42, 217);
constexpr Colour kHome = rgba(37, 99, 235);
constexpr Colour kAway = rgba(245, 158, 11);
constexpr Colour kWhite = rgba(255, 255, 255);
constexpr Colour kOnAway = rgba(28, 25, 23);
constexpr Colour kDivider = rgba(255, 255, 255, 38);
constexpr Colour kSetsCell = rgba(255, 255, 255, 51);
constexpr Colour kSetLabel = rgba(255, 255, 255, 179);

static_assert(std::endian::native == std::endian::little, "ARGB32 words are read as B, G, R, A bytes");

constexpr const char* kFontFamily = "Segoe UI";  // fontconfig picks the closest sans

struct GObjectFree {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct FontFree {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
struct SurfaceFree {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoFree {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

enum class Weight { Regular = PANGO_WEIGHT_NORMAL, Bold = PANGO_WEIGHT_BOLD };

// Measures and draws single lines of text; one per rendering, on the
// calling thread's own font map.
class TextPen {
public:
    TextPen() {
        PangoFontMap* fonts = pango_cairo_font_map_get_default();
        context_.reset(pango_font_map_create_context(fonts));
        if (!context_) return;
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        pango_cairo_context_set_font_options(context_.get(), options);
        cairo_font_options_destroy(options);
        layout_.reset(pango_layout_new(context_.get()));
        if (layout_) pango_layout_set_single_paragraph_mode(layout_.get(), TRUE);
    }

    bool ready() const { return layout_ != nullptr; }

    double width(const std::string& text, double sizePx, Weight weight) {
        return pango_units_to_double(setText(text, sizePx, weight).width);
    }

    // Left edge at x, the line's box centred on centreY.
    void draw(cairo_t* cr, const std::string& text, double sizePx, Weight weight, Colour colour, double x,
              double centreY) {
        const PangoRectangle box = setText(text, sizePx, weight);
        const double top = centreY - pango_units_to_double(box.height) / 2;
        cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
        cairo_move_to(cr, x - pango_units_to_double(box.x), top - pango_units_to_double(box.y));
        pango_cairo_update_context(cr, context_.get());
        pango_layout_context_changed(layout_.get());
        pango_cairo_show_layout(cr, layout_.get());
    }

    void drawCentred(cairo_t* cr, const std::string& text, double sizePx, Weight weight, Colour colour,
                     double centreX, double centreY) {
        draw(cr, text, sizePx, weight, colour, centreX - width(text, sizePx, weight) / 2, centreY);
    }

private:
    PangoRectangle setText(const std::string& text, double sizePx, Weight weight) {
        std::unique_ptr<PangoFontDescription, FontFree> font(pango_font_description_new());
        pango_font_description_set_family(font.get(), kFontFamily);
        pango_font_description_set_weight(font.get(), PangoWeight(weight));
        pango_font_description_set_absolute_size(font.get(), std::max(sizePx, 1.0) * PANGO_SCALE);
        pango_layout_set_font_description(layout_.get(), font.get());
        pango_layout_set_text(layout_.get(), text.data(), int(text.size()));
        PangoRectangle logical{};
        pango_layout_get_extents(layout_.get(), nullptr, &logical);
        return logical;
    }

    std::unique_ptr<PangoContext, GObjectFree> context_;
    std::unique_ptr<PangoLayout, GObjectFree> layout_;
};

void fill(cairo_t* cr, Colour colour) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
    cairo_fill(cr);
}

void fillRect(cairo_t* cr, double x, double y, double width, double height, Colour colour) {
    cairo_rectangle(cr, x, y, width, height);
    fill(cr, colour);
}

void roundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
    radius = std::min({radius, width / 2, height / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -G_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, G_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, G_PI / 2, G_PI);
    cairo_arc(cr, x + radius, y + radius, radius, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
}

// Whatever draws a board: its size first, then the drawing at the margin.
struct BoardLayout {
    double width = 0;
    double height = 0;
    virtual void draw(cairo_t* cr, double left, double top) = 0;
    virtual ~BoardLayout() = default;
};

// Names stacked in two rows with sets and points beside them, as on TV.
class TwoRows : public BoardLayout {
public:
    TwoRows(const BoardState& state, double u, TextPen& pen) : state_(state), u_(u), pen_(pen) {
        const double widest = std::max(pen.width(state.homeName, 0.55 * u, Weight::Bold),
                                       pen.width(state.awayName, 0.55 * u, Weight::Bold));
        nameColumn_ = widest + 2 * 0.35 * u;
        width = 0.2 * u + nameColumn_ + 0.9 * u + 1.3 * u;
        height = 2 * rowHeight() + 0.05 * u;
    }

    void draw(cairo_t* cr, double left, double top) override {
        fillRect(cr, left, top, width, height, kBackground);
        fillRect(cr, left, top + rowHeight(), width, 0.05 * u_, kDivider);
        drawRow(cr, left, top, state_.homeName, state_.homeSets, state_.homePoints, Winner::Home);
        drawRow(cr, left, top + rowHeight() + 0.05 * u_, state_.awayName, state_.awaySets, state_.awayPoints,
                Winner::Away);
    }

private:
    double rowHeight() const { return 1.05 * u_; }

    void drawRow(cairo_t* cr, double left, double top, const std::string& name, int32_t sets, int32_t points,
                 Winner team) {
        const double u = u_;
        const double h = rowHeight();
        const double middle = top + h / 2;
        const Colour teamColour = team == Winner::Home ? kHome : kAway;
        const bool lit = state_.highlighted == team;

        fillRect(cr, left, top, 0.2 * u, h, teamColour);
        pen_.draw(cr, name, 0.55 * u, Weight::Bold, kWhite, left + 0.2 * u + 0.35 * u, middle);

        const double setsLeft = left + 0.2 * u + nameColumn_;
        fillRect(cr, setsLeft, top, 0.9 * u, h, kSetsCell);
        pen_.drawCentred(cr, std::to_string(sets), 0.55 * u, Weight::Regular, kWhite, setsLeft + 0.45 * u, middle);

        const double pointsLeft = setsLeft + 0.9 * u;
        if (lit) fillRect(cr, pointsLeft, top, 1.3 * u, h, teamColour);
        const Colour pointsColour = lit && team == Winner::Away ? kOnAway : kWhite;
        pen_.drawCentred(cr, std::to_string(points), 0.7 * u, Weight::Bold, pointsColour, pointsLeft + 0.65 * u,
                         middle);
    }

    const BoardState& state_;
    const double u_;
    TextPen& pen_;
    double nameColumn_ = 0;
};

// One rounded bar: home name, both point boxes, away name and the set.
class OneBar : public BoardLayout {
public:
    OneBar(const BoardState& state, double u, TextPen& pen)
        : state_(state), u_(u), pen_(pen), label_("SET " + std::to_string(state.set)) {
        homeWidth_ = pen.width(state.homeName, 0.55 * u, Weight::Bold);
        awayWidth_ = pen.width(state.awayName, 0.55 * u, Weight::Bold);
        labelWidth_ = pen.width(label_, 0.5 * u, Weight::Regular);
        width = 0.35 * u + homeWidth_ + 0.3 * u + 1.15 * u + 0.12 * u + 1.15 * u + 0.3 * u + awayWidth_ + 0.45 * u +
                labelWidth_ + 0.35 * u;
        height = 1.3 * u;
    }

    void draw(cairo_t* cr, double left, double top) override {
        const double u = u_;
        const double middle = top + height / 2;
        roundedRect(cr, left, top, width, height, 0.25 * u);
        fill(cr, kBackground);

        double x = left + 0.35 * u;
        pen_.draw(cr, state_.homeName, 0.55 * u, Weight::Bold, kWhite, x, middle);
        x += homeWidth_ + 0.3 * u;
        drawPointBox(cr, x, middle, state_.homePoints, Winner::Home);
        x += 1.15 * u + 0.12 * u;
        drawPointBox(cr, x, middle, state_.awayPoints, Winner::Away);
        x += 1.15 * u + 0.3 * u;
        pen_.draw(cr, state_.awayName, 0.55 * u, Weight::Bold, kWhite, x, middle);
        x += awayWidth_ + 0.45 * u;
        pen_.draw(cr, label_, 0.5 * u, Weight::Regular, kSetLabel, x, middle);
    }

private:
    void drawPointBox(cairo_t* cr, double left, double middle, int32_t points, Winner team) {
        const double u = u_;
        const double side = 1.15 * u;
        const double top = middle - side / 2;
        roundedRect(cr, left, top, side, side, 0.15 * u);
        fill(cr, team == Winner::Home ? kHome : kAway);
        if (state_.highlighted == team) {
            roundedRect(cr, left, top, side, side, 0.15 * u);
            cairo_set_source_rgba(cr, kWhite.r, kWhite.g, kWhite.b, kWhite.a);
            cairo_set_line_width(cr, 0.1 * u);
            cairo_stroke(cr);
        }
        const Colour text = team == Winner::Away ? kOnAway : kWhite;
        pen_.drawCentred(cr, std::to_string(points), 0.8 * u, Weight::Bold, text, left + side / 2, middle);
    }

    const BoardState& state_;
    const double u_;
    TextPen& pen_;
    const std::string label_;
    double homeWidth_ = 0;
    double awayWidth_ = 0;
    double labelWidth_ = 0;
};

}  // namespace

std::optional<BoardBitmap> renderBoard(const BoardState& state, BoardStyle style, int frameWidth, int frameHeight) {
    if (frameWidth <= 0 || frameHeight <= 0) return std::nullopt;
    const double u = std::min(frameWidth, frameHeight) * kUnit;
    const double margin = kMargin * u;

    TextPen pen;
    if (!pen.ready()) return std::nullopt;
    std::unique_ptr<BoardLayout> board;
    if (style == BoardStyle::OneBar) {
        board = std::make_unique<OneBar>(state, u, pen);
    } else {
        board = std::make_unique<TwoRows>(state, u, pen);
    }

    BoardBitmap bitmap;
    bitmap.width = int(board->width + 2 * margin + 1);
    bitmap.height = int(board->height + 2 * margin + 1);
    // A new image surface is fully transparent.
    std::unique_ptr<cairo_surface_t, SurfaceFree> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    {
        std::unique_ptr<cairo_t, CairoFree> cr(cairo_create(surface.get()));
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
        board->draw(cr.get(), margin, margin);
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    }
    cairo_surface_flush(surface.get());

    // Cairo's ARGB32 is premultiplied native-endian words, that is B, G, R, A
    // bytes here; its rows may be padded.
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const size_t rowBytes = size_t(bitmap.width) * 4;
    bitmap.pixels.resize(rowBytes * size_t(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        std::memcpy(bitmap.pixels.data() + rowBytes * size_t(y), data + size_t(stride) * size_t(y), rowBytes);
    }
    return bitmap;
}

}  // namespace rallinox
