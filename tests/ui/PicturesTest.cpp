// The pictures the build draws into the resources folder: every picture the
// program names is there at 1x to 4x, at the size the screens show it,
// and a few of them look the way the screens rely on.

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/Image.h"
#include "ui/Resources.h"

namespace {

namespace fs = std::filesystem;

// The pictures the screens show, at the size in points they are shown at.
struct Shown {
    const char* name;
    float width, height;
};

const std::vector<const char*> kDigitPictures = {
    "zeroImage.png",      "oneImage.png",         "twoImage.png",        "threeImage.png",
    "fourImage.png",      "fiveImage.png",        "sixImage.png",        "sevenImage.png",
    "eightImage.png",     "nineImage.png",        "tenImage.png",        "elevenImage.png",
    "twelveImage.png",    "thirteenImage.png",    "fourteenImage.png",   "fifteenImage.png",
    "sixteenImage.png",   "seventeenImage.png",   "eighteenImage.png",   "nineteenImage.png",
    "twentyImage.png",    "twentyoneImage.png",   "twentytwoImage.png",  "twentythreeImage.png",
};

std::vector<Shown> shownPictures() {
    std::vector<Shown> shown;
    for (const char* digit : kDigitPictures) shown.push_back({digit, 20, 30});
    const std::vector<Shown> others = {
        {"minusImage.png", 20, 30},
        {"oobError.png", 230, 30},
        {"baseDisplayLabel.png", 99, 46},
        {"decDisplayLabel.png", 137, 46},
        {"button1.png", 65, 50},
        {"zeroButton.png", 140, 50},
        {"OPButtonBack.png", 65, 50},
        {"CEButtonBack.png", 65, 50},
        {"DELButtonBack.png", 65, 50},
        {"equalsButton_short.png", 65, 50},
        {"infoButton.png", 35, 35},
        {"baseInputButton.png", 35, 35},
        {"pMButton.png", 35, 35},
        {"mRecoveryButton.png", 35, 35},
        {"mRecoveryButtonHighlighted.png", 35, 35},
        {"mMinusButton.png", 35, 35},
        {"mPlusButton.png", 35, 35},
        {"displayBackground.png", 302, 52},
        {"pickerBackground.png", 140, 50},
    };
    shown.insert(shown.end(), others.begin(), others.end());
    return shown;
}

// The names of the pictures quoted in a C++ source text, comments left out.
std::set<std::string> pictureNamesIn(const std::string& source) {
    std::string code;
    code.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        char c = source[i];
        if (c == '"' || c == '\'') {  // a literal, copied whole
            size_t end = i + 1;
            while (end < source.size() && source[end] != c && source[end] != '\n') end += source[end] == '\\' ? 2 : 1;
            code.append(source, i, end + 1 - i);
            i = end;
        } else if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
            code += '\n';
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos) break;
            ++i;
            code += ' ';
        } else {
            code += c;
        }
    }
    static const std::regex quotedName(R"re("([A-Za-z_][A-Za-z0-9_]*\.png)")re");
    std::set<std::string> names;
    for (std::sregex_iterator it(code.begin(), code.end(), quotedName), end; it != end; ++it) names.insert((*it)[1]);
    return names;
}

std::set<std::string> pictureNamesInSources() {
    const fs::path sources = fs::path(MERVIK_TEST_DATA).parent_path() / "src";
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(sources)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        names.merge(pictureNamesIn(text.str()));
    }
    return names;
}

// A picture file read back into pixels; empty when it cannot be read or has
// no alpha channel.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // premultiplied, row by row

    static Pixels read(const fs::path& file) {
        std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> image(
            cairo_image_surface_create_from_png(file.c_str()), cairo_surface_destroy);
        Pixels p;
        // Pictures with an alpha channel come back as 32-bit ARGB.
        if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS ||
            cairo_image_surface_get_format(image.get()) != CAIRO_FORMAT_ARGB32)
            return p;
        p.width = cairo_image_surface_get_width(image.get());
        p.height = cairo_image_surface_get_height(image.get());
        const int stride = cairo_image_surface_get_stride(image.get());
        const unsigned char* data = cairo_image_surface_get_data(image.get());
        for (int y = 0; y < p.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            p.argb.insert(p.argb.end(), row, row + p.width);
        }
        return p;
    }

    int alpha(int x, int y) const { return int(argb[size_t(y) * width + x] >> 24); }
};

fs::path fileAtScale(const std::string& name, int scale) {
    const std::string file = scale == 1 ? name : name.substr(0, name.size() - 4) + "@" + std::to_string(scale) + "x.png";
    return ui::Resources::directory() / file;
}

// Checks that names are taken from code, not from comments, and only whole
// quoted picture names count.
TEST(Pictures, SourceScanReadsQuotedNamesOutsideComments) {
    const std::string source =
        "auto a = named(\"button1.png\");  // not \"inLineComment.png\"\n"
        "/* not \"inBlockComment.png\" */ auto b = \"quote\\\"d\"; auto c = \"x/y.png\";\n"
        "auto d = \"name@2x.png\"; auto e = 'x'; auto f = \"OPButtonBack.png\";\n";
    EXPECT_EQ(pictureNamesIn(source), (std::set<std::string>{"button1.png", "OPButtonBack.png"}));
}

// Checks that every picture the sources name, and every picture the screens
// show, is in the resources folder at 1x to 4x, the larger ones exactly
// two to four times the 1x size.
TEST(Pictures, EveryNamedPictureExistsAtEveryScale) {
    std::set<std::string> names = pictureNamesInSources();
    for (const Shown& shown : shownPictures()) names.insert(shown.name);

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto image = ui::Image::named(name);
        if (!image) {
            ADD_FAILURE() << "missing from " << ui::Resources::directory();
            continue;
        }
        const ui::Size size = image->size();
        EXPECT_GT(size.width, 0);
        EXPECT_GT(size.height, 0);
        for (int scale = 2; scale <= 4; ++scale) {
            EXPECT_EQ(image->pathForScale(scale), fileAtScale(name, scale));
            const Pixels scaled = Pixels::read(fileAtScale(name, scale));
            EXPECT_EQ(scaled.width, size.width * scale) << "at " << scale << "x";
            EXPECT_EQ(scaled.height, size.height * scale) << "at " << scale << "x";
        }
    }
}

// Checks that each picture is as many pixels at 1x as the points it covers.
TEST(Pictures, OneTimesSizeIsTheSizeShown) {
    for (const Shown& shown : shownPictures()) {
        SCOPED_TRACE(shown.name);
        auto image = ui::Image::named(shown.name);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), (ui::Size{shown.width, shown.height}));
    }
}

// Checks that no two digit pictures (nor the minus) look alike, and that each
// lights something on an otherwise clear ground.
TEST(Pictures, DigitPicturesAreDistinctOnAClearGround) {
    std::vector<const char*> names = kDigitPictures;
    names.push_back("minusImage.png");
    std::vector<Pixels> faces;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        faces.push_back(Pixels::read(fileAtScale(name, 1)));
        const Pixels& face = faces.back();
        ASSERT_EQ(face.argb.size(), 20u * 30u);
        EXPECT_EQ(face.alpha(0, 0), 0);
        EXPECT_EQ(face.alpha(19, 29), 0);
        int lit = 0;
        for (uint32_t px : face.argb) lit += (px >> 24) > 128;
        EXPECT_GT(lit, 20);
    }
    for (size_t i = 0; i < faces.size(); ++i)
        for (size_t j = i + 1; j < faces.size(); ++j)
            EXPECT_NE(faces[i].argb, faces[j].argb) << names[i] << " looks like " << names[j];
}

// Checks that the selected item shows through the picker's picture: the focus
// place (x 53 to 83 points) is fully clear, while the ends are shaded.
TEST(Pictures, PickerFocusWindowIsClear) {
    for (int scale = 1; scale <= 3; ++scale) {
        SCOPED_TRACE(std::to_string(scale) + "x");
        const Pixels picker = Pixels::read(fileAtScale("pickerBackground.png", scale));
        ASSERT_EQ(picker.width, 140 * scale);
        int shadedWindowPixels = 0;
        for (int y = 4 * scale; y < 46 * scale; ++y)
            for (int x = 53 * scale; x < 83 * scale; ++x) shadedWindowPixels += picker.alpha(x, y) != 0;
        EXPECT_EQ(shadedWindowPixels, 0);
        EXPECT_GT(picker.alpha(3 * scale, 25 * scale), 200);
        EXPECT_GT(picker.alpha(137 * scale, 25 * scale), 200);
    }
}

// Checks that the lit memory-recall key is plainly not the unlit one.
TEST(Pictures, LitMemoryKeyDiffersFromUnlit) {
    const Pixels unlit = Pixels::read(fileAtScale("mRecoveryButton.png", 1));
    const Pixels lit = Pixels::read(fileAtScale("mRecoveryButtonHighlighted.png", 1));
    ASSERT_EQ(unlit.argb.size(), lit.argb.size());
    size_t differing = 0;
    for (size_t i = 0; i < lit.argb.size(); ++i) differing += lit.argb[i] != unlit.argb[i];
    EXPECT_GT(differing, lit.argb.size() / 2);
}

}  // namespace
