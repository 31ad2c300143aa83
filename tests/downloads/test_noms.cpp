// The listing's table of constant names holds the names that the panel
// resource gives the downloads panel's controls (objectName by ctrlId).
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include <map>
#include <string>

#include "downloads/VLicLoad.h"

namespace {

TEST(Noms, EveryControlOfTheDownloadsPanelHasItsResourceName) {
    QFile f(":/FVLicEnr.uir/6.ui");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader x(&f);
    std::map<int, std::string> noms;
    std::string nom;
    int profondeur = 0;
    bool dansId = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == u"widget") {
                ++profondeur;
                nom = x.attributes().value("name").toString().toStdString();
            } else if (x.name() == u"property") {
                dansId = profondeur == 2 && x.attributes().value("name") == u"ctrlId";
            } else if (dansId && x.name() == u"number") {
                noms[x.readElementText().toInt()] = nom;
                dansId = false;
            }
        } else if (x.isEndElement() && x.name() == u"widget") {
            --profondeur;
        }
    }
    ASSERT_FALSE(x.hasError()) << x.errorString().toStdString();
    ASSERT_EQ(noms.size(), 25u);
    for (const auto &[id, n] : noms) EXPECT_EQ(LoadNomControle(id), n) << id;
    EXPECT_STREQ(LoadNomControle(1), "");
    EXPECT_STREQ(LoadNomControle(27), "");
    EXPECT_STREQ(LoadNomControle(-1), "");
}

}  // namespace
