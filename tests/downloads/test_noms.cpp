// The listing's table of constant names holds the names that the panel
// resource gives the downloads panel's controls (their name by ctrlId).
#include <gtest/gtest.h>

#include <string>

#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/core/coreres.h"

namespace {

TEST(Noms, EveryControlOfTheDownloadsPanelHasItsResourceName) {
    std::string bytes;
    uicore::UirFile file;
    const uicore::UirPanel *panel = nullptr;
    ASSERT_EQ(uicore::UirReadFile("FVLicEnr.uir", &bytes), 0);
    ASSERT_EQ(uicore::UirParse(bytes, &file), 0);
    ASSERT_EQ(uicore::UirFindPanel(file, FVLIC_LOAD, &panel), 0);
    int n = 0;
    for (const uicore::UirRecord &r : panel->ctrls) {
        const int id = r.Int("ctrlId", 0);
        if (id == 0) continue;
        ++n;
        EXPECT_EQ(LoadNomControle(id), r.Text("name")) << id;
    }
    EXPECT_EQ(n, 25);
    EXPECT_STREQ(LoadNomControle(1), "");
    EXPECT_STREQ(LoadNomControle(27), "");
    EXPECT_STREQ(LoadNomControle(-1), "");
}

}  // namespace
