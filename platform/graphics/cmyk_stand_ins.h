// Stand-in RGB values for device-CMYK colours painted into output that only carries RGB.
//
// Qt's PDF writer knows only RGB. When a document's output must keep exact device-CMYK
// values, the graphics context paints each CMYK colour as an RGB value that no other CMYK
// colour of the same output uses, and records which CMYK value it stands for; a later pass
// over the written PDF swaps every stand-in back for its CMYK value. A stand-in starts from
// the colour's own RGB conversion (so the output still looks right without that pass) and
// moves to the next free 8-bit value when that one is taken, so that K-only black
// (0, 0, 0, 1) and rich black (1, 1, 1, 1) stay apart.
#pragma once

#include <QColor>

#include <map>
#include <optional>
#include <tuple>

struct CmykValue {
    float cyan = 0, magenta = 0, yellow = 0, black = 0;

    friend bool operator==(const CmykValue &a, const CmykValue &b)
    {
        return a.cyan == b.cyan && a.magenta == b.magenta && a.yellow == b.yellow && a.black == b.black;
    }
    friend bool operator<(const CmykValue &a, const CmykValue &b)
    {
        return std::tie(a.cyan, a.magenta, a.yellow, a.black) < std::tie(b.cyan, b.magenta, b.yellow, b.black);
    }
};

class CmykStandIns {
public:
    // The stand-in for this value (opaque; the caller adds the alpha). The same value
    // always gets the same stand-in.
    QRgb standInFor(const CmykValue &value);
    // The CMYK value an RGB value stands for (its alpha is ignored), if it is a stand-in.
    std::optional<CmykValue> cmykFor(QRgb rgb) const;
    // Every stand-in (opaque RGB) with its CMYK value.
    const std::map<QRgb, CmykValue> &mapping() const { return m_byRgb; }

private:
    std::map<QRgb, CmykValue> m_byRgb;
    std::map<CmykValue, QRgb> m_byCmyk;
};
