#include <gtest/gtest.h>

#include "notation/noty/zamen_enharmonicky.h"

TEST(ZamenEnharmonicky, RespellsOrSaysNejde) {
    struct Row { const char* ton; const char* vysledek; };
    const Row rows[] = {
        // Same-octave pairs, both ways, with and without an octave digit.
        {"cis,", "des,"}, {"des1,", "cis1,"}, {"dis2,", "es2,"}, {"es,", "dis,"},
        {"e3,", "fes3,"}, {"fes1,", "e1,"},   {"f,", "eis,"},    {"eis4,", "f4,"},
        {"fis1,", "ges1,"}, {"ges,", "fis,"}, {"gis2,", "as2,"}, {"as3,", "gis3,"},
        {"ais,", "b,"},   {"b,", "ais,"},     {"b2,", "ais2,"},
        // ces is the h an octave lower, his the c an octave higher.
        {"ces1,", "h,"},  {"ces2,", "h1,"},   {"ces4,", "h3,"},  {"ces,", "nejde"},
        {"his,", "c1,"},  {"his1,", "c2,"},   {"his3,", "c4,"},
        // Names without a second spelling, and texts that are no name.
        {"c,", "nejde"},  {"d2,", "nejde"},   {"g,", "nejde"},   {"a4,", "nejde"},
        {"h1,", "nejde"}, {"", "nejde"},      {",", "nejde"},    {"x1,", "nejde"},
        {"Cis,", "nejde"},
    };
    for (const Row& r : rows) {
        const vb::Variant v = ZamenEnharmonicky(r.ton);
        ASSERT_TRUE(v.IsString()) << r.ton;
        EXPECT_EQ(v.AsString(), r.vysledek) << r.ton;
    }
}
