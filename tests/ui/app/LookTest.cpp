// How the windows look and handle, checked on the shared widgets every window uses.
#include <QImage>
#include <QtMath>

#include "TestSupport.h"
#include "ui/app/Gauge.h"

namespace mlk::test {
namespace {

int Lightness(QRgb pixel) {
    return qGray(pixel);
}

// The percentage must read on the navy bar and on the white beside it, wherever the bar ends:
// the pixels the text changes must stand out from what lies under them.
TEST(Look, GaugeTextReadsAtEveryPosition) {
    ui::Gauge gauge;
    gauge.resize(300, 24);
    gauge.setRange(0, 1000);
    for (const int value : {0, 250, 500, 750, 1000}) {
        gauge.setValue(value);
        gauge.setTextVisible(false);
        const QImage plain = gauge.grab().toImage();
        gauge.setTextVisible(true);
        const QImage text = gauge.grab().toImage();
        int onBar = -1, beside = -1;  // the strongest contrast of a text pixel, -1 for none
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                const QRgb under = plain.pixel(x, y);
                if (text.pixel(x, y) == under)
                    continue;
                const int contrast = qAbs(Lightness(text.pixel(x, y)) - Lightness(under));
                int& strongest = Lightness(under) < 128 ? onBar : beside;
                strongest = qMax(strongest, contrast);
            }
        }
        SCOPED_TRACE(value);
        EXPECT_TRUE(onBar >= 0 || beside >= 0) << "no text drawn";
        EXPECT_TRUE(onBar < 0 || onBar > 150) << "text on the bar: " << onBar;
        EXPECT_TRUE(beside < 0 || beside > 150) << "text beside the bar: " << beside;
    }
}

}  // namespace
}  // namespace mlk::test
