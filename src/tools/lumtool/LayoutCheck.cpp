#include "LayoutCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "CheckPlace.h"
#include "graphics/GraphicElementType.h"
#include "graphics/components/FocusOrder.h"
#include "lum/MenuView.h"
#include "tarn/Text.h"

namespace lumtool {

namespace {

// Less than half a pixel past an edge does not show.
constexpr double kPixelSlack = 0.5;
// Bounds for a damaged page of thousands of buttons: the buttons compared pair by pair, and
// the overlaps named (the others are counted).
constexpr std::size_t kMostButtons = 1000;
constexpr std::size_t kMostOverlaps = 50;

std::wstring Pixels(double value) { return std::to_wstring(std::lround(value)); }

// A positive amount as whole pixels, at least 1.
std::wstring Amount(double value) {
    return std::to_wstring(std::max<long>(1, std::lround(std::ceil(value - 1e-6))));
}

SFinding Found(ESeverity severity, const std::wstring& text) {
    return {severity, tarn::ToUtf8(text)};
}

// Kinds that paint nothing wherever they are.
bool PaintsNothing(const graphics::CGraphicElement& element) {
    const int type = element.GetType();
    return type == graphics::GRAPHIC_POINT || type == graphics::GRAPHIC_DUMMY;
}

// Whether the span lo..hi shares no length with pageLo..pageHi (a span of no length, a line,
// shares none only when it lies beyond the page).
bool Misses(double lo, double hi, double pageLo, double pageHi) {
    if (hi < pageLo || lo > pageHi) return true;
    return hi > lo && (hi <= pageLo + kPixelSlack || lo >= pageHi - kPixelSlack);
}

// "the left edge by 12 and the bottom edge by 8 pixels", or empty when inside.
std::wstring EdgesPassed(const graphics::CDRect& box, const graphics::CDRect& page) {
    const std::array<std::pair<const wchar_t*, double>, 4> edges{{
        {L"left", page.x - box.x},
        {L"top", page.y - box.y},
        {L"right", box.x + box.width - (page.x + page.width)},
        {L"bottom", box.y + box.height - (page.y + page.height)},
    }};
    std::vector<std::wstring> parts;
    for (const auto& [edge, past] : edges) {
        if (past > kPixelSlack) {
            parts.push_back(L"the " + std::wstring(edge) + L" edge by " + Amount(past));
        }
    }
    return parts.empty() ? std::wstring() : ListedNames(parts) + L" pixels";
}

std::wstring PageSize(const graphics::CDRect& page) {
    return Pixels(page.width) + L"\u00d7" + Pixels(page.height) + L" page (" + Pixels(page.x) +
           L"," + Pixels(page.y) + L" to " + Pixels(page.x + page.width) + L"," +
           Pixels(page.y + page.height) + L")";
}

void CheckBounds(const lum::data::CPage& page, const graphics::CDRect& area,
                 std::vector<SFinding>& findings) {
    const auto document = page.GetDocument();
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        const auto element = document->GetAt(i);
        if (!element->IsVisible() || PaintsNothing(*element)) continue;
        const graphics::CDRect box = element->GetBoundingRect();
        if (!(box.width > 0) && !(box.height > 0)) continue;
        const std::wstring place = ElementPlace(page, *element, i);
        if (Misses(box.x, box.x + box.width, area.x, area.x + area.width) ||
            Misses(box.y, box.y + box.height, area.y, area.y + area.height)) {
            findings.push_back(Found(
                ESeverity::Error, place + L": lies wholly outside the " + PageSize(area) +
                                      L", so it never shows; move it onto the page or remove it"));
            continue;
        }
        const std::wstring passed = EdgesPassed(box, area);
        if (passed.empty()) continue;
        findings.push_back(Found(
            ESeverity::Warning, place + L": reaches past " + passed + L" of the " + PageSize(area) +
                                    L", and what lies outside is cut off; move it onto the page "
                                    L"or make it smaller"));
    }
}

using Quad = std::array<graphics::CDPoint, 4>;

Quad Corners(const graphics::CGraphicElement& element) {
    const std::vector<graphics::CDPoint> outline = element.GetOutline();
    return {outline[0], outline[2], outline[4], outline[6]};
}

// How deep two convex quadrilaterals reach into each other along the axis where they reach
// least (separating axes): 0 or less when they do not overlap.
double OverlapDepth(const Quad& a, const Quad& b) {
    double least = std::numeric_limits<double>::infinity();
    for (const Quad* quad : {&a, &b}) {
        for (std::size_t i = 0; i < 4; ++i) {
            const graphics::CDPoint from = (*quad)[i];
            const graphics::CDPoint to = (*quad)[(i + 1) % 4];
            const double length = std::hypot(to.x - from.x, to.y - from.y);
            if (!(length > 1e-9)) continue;
            const double nx = -(to.y - from.y) / length;
            const double ny = (to.x - from.x) / length;
            const auto span = [&](const Quad& points) {
                double lo = std::numeric_limits<double>::infinity();
                double hi = -lo;
                for (const graphics::CDPoint& p : points) {
                    lo = std::min(lo, p.x * nx + p.y * ny);
                    hi = std::max(hi, p.x * nx + p.y * ny);
                }
                return std::pair{lo, hi};
            };
            const auto [aLo, aHi] = span(a);
            const auto [bLo, bHi] = span(b);
            least = std::min(least, std::min(aHi, bHi) - std::max(aLo, bLo));
        }
    }
    return least;
}

// Turned by a multiple of a right angle: its box is its bounding rectangle.
bool Upright(const graphics::CGraphicElement& element) {
    return std::fmod(std::abs(element.GetRotation()), 90.0) < 1e-9;
}

// " by 60×30 pixels" for two upright boxes; their shared part is a rectangle then.
std::wstring SharedPart(const graphics::CGraphicElement& a, const graphics::CGraphicElement& b) {
    if (!Upright(a) || !Upright(b)) return {};
    const graphics::CDRect p = a.GetBoundingRect();
    const graphics::CDRect q = b.GetBoundingRect();
    const double width = std::min(p.x + p.width, q.x + q.width) - std::max(p.x, q.x);
    const double height = std::min(p.y + p.height, q.y + q.height) - std::max(p.y, q.y);
    return L" by " + Amount(width) + L"\u00d7" + Amount(height) + L" pixels";
}

std::wstring ShortName(const graphics::CGraphicElement& element, std::size_t index) {
    return element.GetName().empty() ? L"number " + std::to_wstring(index + 1)
                                     : L"'" + element.GetName() + L"'";
}

void CheckOverlaps(const lum::data::CPage& page, std::vector<SFinding>& findings) {
    const auto document = page.GetDocument();
    std::vector<std::size_t> buttons;
    for (std::size_t i = 0; i < document->GetCount(); ++i) {
        const auto element = document->GetAt(i);
        const graphics::CDSize size = element->GetSize();
        if (!(size.width > 0 && size.height > 0)) continue;  // nothing to click
        // A place so far out that its corners overflow is damaged, and compares with nothing.
        const Quad corners = Corners(*element);
        if (!std::all_of(corners.begin(), corners.end(), [](const graphics::CDPoint& p) {
                return std::isfinite(p.x) && std::isfinite(p.y);
            })) {
            continue;
        }
        if (graphics::components::CFocusOrder::TakesFocus(*element)) buttons.push_back(i);
        if (buttons.size() == kMostButtons) break;
    }
    const std::wstring pagePrefix = PagePlace(page) + L", ";
    std::size_t overlaps = 0;
    for (std::size_t b = 0; b < buttons.size(); ++b) {
        const auto upper = document->GetAt(buttons[b]);  // later in the list: painted on top
        for (std::size_t a = 0; a < b; ++a) {
            const auto lower = document->GetAt(buttons[a]);
            if (!(OverlapDepth(Corners(*upper), Corners(*lower)) > kPixelSlack)) continue;
            if (++overlaps > kMostOverlaps) continue;
            const std::wstring other =
                ElementPlace(page, *lower, buttons[a]).substr(pagePrefix.size());
            findings.push_back(
                Found(ESeverity::Warning,
                      ElementPlace(page, *upper, buttons[b]) + L": overlaps " + other +
                          SharedPart(*upper, *lower) + L"; a click there goes to " +
                          ShortName(*upper, buttons[b]) + L", which lies on top, never to " +
                          ShortName(*lower, buttons[a]) + L": move them apart"));
        }
    }
    if (overlaps > kMostOverlaps) {
        findings.push_back(
            Found(ESeverity::Warning, PagePlace(page) + L": " +
                                          std::to_wstring(overlaps - kMostOverlaps) +
                                          L" more pairs of buttons overlap; move them apart"));
    }
}

}  // namespace

std::vector<SFinding> CheckLayout(const lum::data::CProduct& product) {
    std::vector<SFinding> findings;
    const wxSize client = lum::MenuClientSize(product);
    for (std::size_t i = 0; i < product.GetPageCount(); ++i) {
        const auto page = product.GetPage(i);
        if (client.x > 0 && client.y > 0) {
            // The player's window shows the page from the content box's corner on.
            const graphics::CDRect box = page->GetDocument()->GetContentBox();
            CheckBounds(*page, {box.x, box.y, double(client.x), double(client.y)}, findings);
        }
        CheckOverlaps(*page, findings);
    }
    return findings;
}

}  // namespace lumtool
