// The program's bitmaps and picture sources: present, of the right size and
// depth, and the states told apart by colour.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "resources/bitmaps/pictures.h"
#include "tests/support/temp_env.h"

namespace {

using namespace forms;
using namespace resources;

TEST(BitmapsTest, ResourceBitmapsHaveTheirSizesAndDepths) {
    struct Case {
        int id, width, height, bits;
    };
    const std::vector<Case> cases = {
        {102, 40, 38, 24}, {122, 6, 17, 1}, {123, 8, 6, 4},   {124, 8, 6, 1},  {129, 40, 38, 24},
        {130, 40, 38, 24}, {131, 6, 20, 4}, {132, 5, 17, 4}, {133, 6, 20, 4},
    };
    std::vector<int> ids;
    for (const auto& c : cases) {
        const Picture p = LoadResPicture(c.id);
        EXPECT_EQ(p.Width(), c.width) << c.id;
        EXPECT_EQ(p.Height(), c.height) << c.id;
        EXPECT_EQ(p.BitsPerPixel(), c.bits) << c.id;
        EXPECT_FALSE(p.Image().isNull()) << c.id;
        if (c.bits == 1) {
            EXPECT_EQ(p.Image().depth(), 1) << c.id;
        } else if (c.bits == 24) {
            EXPECT_EQ(p.Image().format(), QImage::Format_RGB888) << c.id;
        } else {
            EXPECT_LE(p.Image().colorCount(), 16) << c.id;
        }
        ids.push_back(c.id);
    }
    EXPECT_EQ(ResourceBitmapIds(), ids);
    EXPECT_TRUE(LoadResPicture(102) == LoadResPicture(102));
    try {
        LoadResPicture(101);
        ADD_FAILURE();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 326);
    }
}

QRgb Centre(const Picture& p) { return p.Image().pixel(p.Width() / 2, p.Height() / 2); }
QRgb Face(const Picture& p) { return p.Image().pixel(p.Width() / 2, p.Height() / 4); }

TEST(BitmapsTest, SourcePicturesExistWithTheSizesOfTheirControls) {
    struct Case {
        const char* name;
        int index, width, height;
    };
    const std::vector<Case> cases = {
        {"imgKnoflikVol", 0, 40, 38}, {"imgKnoflikVol", 1, 40, 38}, {"imgKnofCerv", 0, 40, 38},
        {"imgKnofCerv", 1, 40, 38},   {"imgKnofTlak", 0, 40, 38},   {"imgKnofTlak2", 0, 40, 38},
        {"imgKnofTah", 0, 40, 38},    {"imgKnofTah2", 0, 40, 38},   {"imgBaVol", 0, 16, 16},
        {"imgBaVolC", 0, 16, 16},     {"imgBaVolMriz", 0, 16, 16},  {"imgBaTlak1", 0, 16, 16},
        {"imgBaTlakC", 0, 16, 16},    {"imgBaTlakMriz", 0, 16, 16}, {"imgBaTah1", 0, 16, 16},
        {"imgBaTahC", 0, 16, 16},     {"imgBaTahMriz", 0, 16, 16},  {"imgBaCerv1", 0, 16, 16},
        {"imgBaStiskC", 0, 16, 16},   {"imgBaStiskMriz", 0, 16, 16}, {"imgBaCerv2", 0, 16, 16},
        {"picNota", 0, 9, 7},         {"picBecko", 0, 6, 17},       {"picKrizek", 0, 6, 17},
        {"picOdrazka", 0, 6, 17},     {"imgNota", 0, 9, 7},         {"imgBecko", 0, 6, 17},
        {"imgKrizek", 0, 6, 17},
    };
    for (const auto& c : cases) {
        const Picture p = SourcePicture(c.name, c.index);
        EXPECT_EQ(p.Width(), c.width) << c.name;
        EXPECT_EQ(p.Height(), c.height) << c.name;
        EXPECT_TRUE(SourcePicture(c.name, c.index) == p) << c.name;
    }
    EXPECT_EQ(SourcePictureNames().size(), cases.size());
    EXPECT_THROW(SourcePicture("imgKnofTlak", 1), vb::RuntimeError);
    EXPECT_THROW(SourcePicture("imgNic"), vb::RuntimeError);
}

TEST(BitmapsTest, ButtonStatesAreToldApartByColour) {
    // Free white, free black, pressed, push, pull, staff mark, interval mark.
    const std::vector<Picture> treble = {
        SourcePicture("imgKnoflikVol", 0), SourcePicture("imgKnoflikVol", 1), SourcePicture("imgKnofCerv", 0),
        SourcePicture("imgKnofTlak"),      SourcePicture("imgKnofTah"),       LoadResPicture(102),
        LoadResPicture(129),
    };
    std::set<QRgb> faces;
    for (const Picture& p : treble) faces.insert(Face(p));
    EXPECT_EQ(faces.size(), treble.size());
    EXPECT_EQ(QColor(Face(SourcePicture("imgKnoflikVol", 0))), QColor(255, 255, 255));
    EXPECT_EQ(QColor(Face(SourcePicture("imgKnofCerv", 1))).red(), 220);

    // The second pictures differ from the first ones of the same state.
    EXPECT_NE(SourcePicture("imgKnofTlak").Image(), SourcePicture("imgKnofTlak2").Image());
    EXPECT_NE(SourcePicture("imgKnofTah").Image(), SourcePicture("imgKnofTah2").Image());
    EXPECT_NE(LoadResPicture(129).Image(), LoadResPicture(130).Image());
    // Pressed white-key and black-key buttons keep their key colour in the centre.
    EXPECT_NE(Centre(SourcePicture("imgKnofCerv", 0)), Centre(SourcePicture("imgKnofCerv", 1)));

    // Bass: each state in three looks (plain, C, ridged), all different.
    const std::vector<std::vector<const char*>> bass = {
        {"imgBaVol", "imgBaVolC", "imgBaVolMriz"},
        {"imgBaTlak1", "imgBaTlakC", "imgBaTlakMriz"},
        {"imgBaTah1", "imgBaTahC", "imgBaTahMriz"},
        {"imgBaCerv1", "imgBaStiskC", "imgBaStiskMriz"},
    };
    std::set<QRgb> bassFaces;
    for (const auto& state : bass) {
        bassFaces.insert(SourcePicture(state[0]).Image().pixel(8, 8));
        EXPECT_NE(SourcePicture(state[0]).Image(), SourcePicture(state[1]).Image()) << state[0];
        EXPECT_NE(SourcePicture(state[0]).Image(), SourcePicture(state[2]).Image()) << state[0];
        EXPECT_NE(SourcePicture(state[1]).Image(), SourcePicture(state[2]).Image()) << state[0];
    }
    bassFaces.insert(SourcePicture("imgBaCerv2").Image().pixel(8, 8));
    EXPECT_EQ(bassFaces.size(), 5u);

    // Signs are different drawings.
    EXPECT_NE(SourcePicture("picBecko").Image(), SourcePicture("picKrizek").Image());
    EXPECT_NE(SourcePicture("picKrizek").Image(), SourcePicture("picOdrazka").Image());
    EXPECT_NE(QColor(Centre(LoadResPicture(123))), QColor(Centre(LoadResPicture(124))));
}

TEST(AppInfoTest, VersionAndProgramFolder) {
    EXPECT_STREQ(App.Title, "Belmora");
    EXPECT_STREQ(App.ProductName, "Belmora");
    EXPECT_EQ(App.Major, 2);
    EXPECT_EQ(App.Minor, 1);
    EXPECT_EQ(App.Revision, 0);
    EXPECT_NE(std::string(App.LegalCopyright).find("Belmora"), std::string::npos);
    EXPECT_NE(std::string(kMakerContact), "");
    if (const std::string dir = testsupport::ProgramDir(); !dir.empty()) {
        EXPECT_EQ(App.Path(), dir);
    }
    EXPECT_FALSE(App.Path().empty());
}

}  // namespace
