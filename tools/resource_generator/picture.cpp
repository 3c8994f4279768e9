#include "picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace resgen {

namespace {

struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  Box Inset(double by) const { return {left + by, top + by, right - by, bottom - by}; }
  Box Scaled(double factor) const {
    return {left * factor, top * factor, right * factor, bottom * factor};
  }
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

struct Shape {
  Box box;
  double radius = 0;
  Rgba colour;
};

bool Contains(const Shape& shape, double x, double y) {
  const Box& b = shape.box;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) {
    return false;
  }
  // Distance from the inner rectangle decides the rounded corners.
  const double r = std::min({shape.radius, (b.right - b.left) / 2, (b.bottom - b.top) / 2});
  const double dx = std::max({b.left + r - x, 0.0, x - (b.right - r)});
  const double dy = std::max({b.top + r - y, 0.0, y - (b.bottom - r)});
  return dx * dx + dy * dy <= r * r;
}

// Each subsample takes the colour of the last shape covering it; averaging them anti-aliases.
Image Render(int size, const std::vector<Shape>& shapes) {
  constexpr int kGrid = 8;
  Image image{size, size, std::vector<Rgba>(static_cast<std::size_t>(size) * size)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kGrid; ++sy) {
        for (int sx = 0; sx < kGrid; ++sx) {
          const double px = x + (sx + 0.5) / kGrid;
          const double py = y + (sy + 0.5) / kGrid;
          for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
            if (Contains(*it, px, py)) {
              const double alpha = it->colour.a / 255.0;
              r += it->colour.r * alpha;
              g += it->colour.g * alpha;
              b += it->colour.b * alpha;
              a += alpha;
              break;
            }
          }
        }
      }
      Rgba& out = image.pixels[static_cast<std::size_t>(y) * size + x];
      if (a > 0) {
        out = {static_cast<std::uint8_t>(std::lround(r / a)),
               static_cast<std::uint8_t>(std::lround(g / a)),
               static_cast<std::uint8_t>(std::lround(b / a)),
               static_cast<std::uint8_t>(std::lround(a * 255.0 / (kGrid * kGrid)))};
      }
    }
  }
  return image;
}

constexpr Rgba kTransparent{0, 0, 0, 0};
constexpr Rgba kBoardEdge{0x5A, 0x37, 0x14, 0xFF};
constexpr Rgba kBoard{0x9C, 0x6A, 0x36, 0xFF};
constexpr Rgba kPaper{0xFF, 0xFF, 0xFF, 0xFF};
constexpr Rgba kClipEdge{0x3F, 0x48, 0x52, 0xFF};
constexpr Rgba kClip{0xA9, 0xB3, 0xBD, 0xFF};
constexpr Rgba kClipShine{0xD8, 0xDF, 0xE6, 0xFF};
constexpr Rgba kHeader{0x2F, 0x6D, 0xB5, 0xFF};
constexpr Rgba kGridLine{0x5C, 0x86, 0xC2, 0xFF};
constexpr Rgba kStripe{0xE4, 0xEE, 0xFA, 0xFF};
constexpr Rgba kText{0x6B, 0x73, 0x7D, 0xFF};
constexpr Rgba kHeading{0xC8, 0xDB, 0xF2, 0xFF};

// Everything in pixels of the target size; line positions are the left or top pixel edge.
struct Layout {
  Box board;
  double board_radius = 0;
  Box paper;
  double paper_radius = 0;
  Box clip;
  double clip_radius = 0;
  Box ring;  // empty: no ring above the clip
  double ring_radius = 0;
  Box hole;
  double hole_radius = 0;
  double edge = 1;                  // outline width
  double line = 1;                  // grid line width
  std::array<double, 4> columns{};  // vertical grid lines
  std::array<double, 5> rows{};     // horizontal grid lines; header between the first two
  bool text = false;                // marks that stand for cell contents
};

Layout Layout48() {
  Layout l;
  l.board = {6, 5, 42, 47};
  l.board_radius = 4;
  l.paper = {10, 10, 38, 43};
  l.paper_radius = 1;
  l.clip = {15, 3, 33, 11};
  l.clip_radius = 2;
  l.ring = {19, 0, 29, 6};
  l.ring_radius = 3;
  l.hole = {21.5, 1.5, 26.5, 4};
  l.hole_radius = 1.25;
  l.columns = {13, 22, 28, 34};
  l.rows = {15, 21, 27, 33, 39};
  l.text = true;
  return l;
}

Layout Layout32() {
  Layout l;
  l.board = {4, 3, 28, 31};
  l.board_radius = 3;
  l.paper = {7, 7, 25, 28};
  l.paper_radius = 1;
  l.clip = {10, 2, 22, 7.5};
  l.clip_radius = 1.5;
  l.ring = {13, 0, 19, 4};
  l.ring_radius = 2;
  l.hole = {14.5, 1, 17.5, 2.8};
  l.hole_radius = 0.9;
  l.columns = {9, 14, 18, 22};
  l.rows = {10, 14, 18, 22, 26};
  return l;
}

Layout Layout16() {
  Layout l;
  l.board = {1, 2, 15, 16};
  l.board_radius = 1.5;
  l.paper = {3, 4, 13, 15};
  l.paper_radius = 0;
  l.clip = {5, 1, 11, 4.5};
  l.clip_radius = 1;
  l.columns = {4, 7, 9, 11};
  l.rows = {6, 8, 10, 12, 14};
  return l;
}

Layout LayoutFor(int size) {
  switch (size) {
    case 16:
      return Layout16();
    case 32:
      return Layout32();
    case 48:
      return Layout48();
    default:
      break;
  }
  const double f = size / 48.0;
  Layout l = Layout48();
  l.board = l.board.Scaled(f);
  l.paper = l.paper.Scaled(f);
  l.clip = l.clip.Scaled(f);
  l.ring = l.ring.Scaled(f);
  l.hole = l.hole.Scaled(f);
  l.board_radius *= f;
  l.paper_radius *= f;
  l.clip_radius *= f;
  l.ring_radius *= f;
  l.hole_radius *= f;
  l.edge = std::max(1.0, f);
  l.line = std::max(1.0, f);
  for (double& c : l.columns) c *= f;
  for (double& r : l.rows) r *= f;
  l.text = size >= 40;
  return l;
}

void AddOutlined(std::vector<Shape>& shapes, const Box& box, double radius, double edge,
                 Rgba outline, Rgba fill) {
  shapes.push_back({box, radius, outline});
  shapes.push_back({box.Inset(edge), std::max(radius - edge, 0.0), fill});
}

void AddTable(std::vector<Shape>& shapes, const Layout& l) {
  const double left = l.columns.front();
  const double right = l.columns.back() + l.line;
  // Header band, then alternate body rows lightly tinted.
  shapes.push_back({{left, l.rows[0], right, l.rows[1]}, 0, kHeader});
  shapes.push_back({{left, l.rows[2], right, l.rows[3]}, 0, kStripe});
  for (double x : l.columns) {
    shapes.push_back({{x, l.rows[1], x + l.line, l.rows.back() + l.line}, 0, kGridLine});
  }
  for (std::size_t i = 1; i < l.rows.size(); ++i) {
    shapes.push_back({{left, l.rows[i], right, l.rows[i] + l.line}, 0, kGridLine});
  }
  if (!l.text) {
    return;
  }
  // Short bars in the cells read as text; their lengths vary like real entries.
  constexpr double kFill[4][3] = {
      {0.75, 0.8, 0.8}, {0.8, 0.6, 0.7}, {0.55, 0.8, 0.5}, {0.7, 0.45, 0.85}};
  for (std::size_t row = 0; row < 4; ++row) {
    const double top = l.rows[row] + (row == 0 ? 0 : l.line);
    const double bottom = l.rows[row + 1];
    const double mid = std::floor((top + bottom) / 2);
    for (std::size_t col = 0; col < 3; ++col) {
      const double cell_left = l.columns[col] + l.line + 1;
      const double cell_right = l.columns[col + 1] - 1;
      const double length = std::max(2.0, std::round((cell_right - cell_left) * kFill[row][col]));
      // Numbers sit right, the first column's text and all headings left.
      const double start = col == 0 || row == 0 ? cell_left : cell_right - length;
      shapes.push_back({{start, mid, start + length, mid + 1}, 0, row == 0 ? kHeading : kText});
    }
  }
}

}  // namespace

Image DrawClipboard(int size) {
  if (size < 8 || size > 256) {
    throw std::invalid_argument("picture size out of range");
  }
  const Layout l = LayoutFor(size);
  std::vector<Shape> shapes;
  AddOutlined(shapes, l.board, l.board_radius, l.edge, kBoardEdge, kBoard);
  shapes.push_back({l.paper, l.paper_radius, kPaper});
  AddTable(shapes, l);
  if (!l.ring.IsEmpty()) {
    AddOutlined(shapes, l.ring, l.ring_radius, l.edge, kClipEdge, kClip);
    shapes.push_back({l.hole, l.hole_radius, kTransparent});
  }
  AddOutlined(shapes, l.clip, l.clip_radius, l.edge, kClipEdge, kClip);
  // A light band along the clip's top edge gives it a metal look.
  const Box shine{l.clip.left + l.edge + 1, l.clip.top + l.edge, l.clip.right - l.edge - 1,
                  l.clip.top + l.edge + std::max(1.0, (l.clip.bottom - l.clip.top) / 5)};
  if (!shine.IsEmpty() && size >= 32) {
    shapes.push_back({shine, 0, kClipShine});
  }
  return Render(size, shapes);
}

}  // namespace resgen
