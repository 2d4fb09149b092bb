#include "controls/property_bag.h"

#include <gtest/gtest.h>

using deskleaf::PropertyBag;

TEST(PropertyBag, KeepsOnlyWhatDiffersFromTheDefaults)
{
    PropertyBag bag;
    bag.WriteProperty("State", 1, 0);
    bag.WriteProperty("Enabled", true, true); // the default: not kept
    bag.WriteProperty("Caption", "ok", "xpcmdbutton1");
    EXPECT_EQ(bag.names(), QStringList({"State", "Caption"}));
    EXPECT_EQ(bag.ReadProperty("state", 0), 1); // names match without regard to case
    EXPECT_EQ(bag.ReadProperty("Enabled", true), true);
    bag.WriteProperty("STATE", 0, 0); // back to the default: dropped
    EXPECT_EQ(bag.names(), QStringList({"Caption"}));
    bag.WriteProperty("caption", "打开图片");
    EXPECT_EQ(bag.names(), QStringList({"Caption"}));
    EXPECT_EQ(bag.ReadProperty("Caption").toString(), QStringLiteral("打开图片"));
}
