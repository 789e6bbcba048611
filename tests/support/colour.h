#pragma once

#include <ostream>

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;
};

// Scaling blends neighbours and JPEG is lossy, so colours match within a
// tolerance; alpha is not compared.
inline bool nearColour(const Colour& a, const Colour& b, int tolerance)
{
    auto within = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return within(a.red, b.red) && within(a.green, b.green) && within(a.blue, b.blue);
}

inline std::ostream& operator<<(std::ostream& out, const Colour& colour)
{
    return out << "rgb(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

// A test picture's content: one colour per quadrant, so that a copy shows
// whether it was scaled whole, turned the right way, or left blank.
struct Quadrants {
    Colour topLeft;
    Colour topRight;
    Colour bottomLeft;
    Colour bottomRight;
};

inline constexpr Colour kRed{220, 30, 30};
inline constexpr Colour kGreen{30, 180, 60};
inline constexpr Colour kBlue{40, 60, 210};
inline constexpr Colour kYellow{240, 220, 40};
inline constexpr Quadrants kFourColours{kRed, kGreen, kBlue, kYellow};

inline Quadrants solid(const Colour& colour)
{
    return {colour, colour, colour, colour};
}
