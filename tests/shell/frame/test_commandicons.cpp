// Every command the ribbon, the application menu, the quick access toolbar
// and the context menus show has a picture of the bundled set, and no two
// commands share one.
#include "shell/frame/commandicons.h"
#include "shell/frame/ribbontable.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

bool showsPicture(RibbonKind kind)
{
    switch (kind) {
    case RibbonKind::MainButton:
    case RibbonKind::MainSubButton:
    case RibbonKind::MainBottomButton:
    case RibbonKind::Button:
    case RibbonKind::LargeButton:
    case RibbonKind::Colour:
    case RibbonKind::QuickAccess:
    case RibbonKind::HelpButton:
        return true;
    default:
        return false;
    }
}

// Some pixel of the picture is drawn.
bool inked(const QIcon& icon)
{
    const QImage image = icon.pixmap(22, 22).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

TEST(CommandIcons, EveryShownCommandHasItsOwnPictureOfTheSet)
{
    std::set<int> shown;
    for (const RibbonEntry& entry : BuildRibbonTable())
        if (showsPicture(entry.kind) && entry.id != 0)
            shown.insert(entry.id);
    ASSERT_GT(shown.size(), 100u);
    for (int id : shown) {
        EXPECT_NE(CommandIconName(id), nullptr) << "command " << id << " has no picture";
        EXPECT_TRUE(inked(CommandIconPicture(id))) << "command " << id;
    }
    std::map<std::string, int> owner;
    for (const CommandIcon& icon : CommandIcons()) {
        const auto [it, fresh] = owner.emplace(icon.name, icon.id);
        EXPECT_TRUE(fresh) << icon.name << " shows both " << it->second << " and " << icon.id;
        EXPECT_FALSE(CommandIconPicture(icon.id).isNull()) << icon.name << " is not in the resources";
    }
}

TEST(CommandIcons, PicturesTakeTheColourAskedFor)
{
    const QImage white = CommandIconPicture(57607, Qt::white).pixmap(22, 22).toImage();
    const QImage plain = CommandIconPicture(57607).pixmap(22, 22).toImage();
    int whiteInk = 0, darkInk = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 22; ++x) {
            if (qAlpha(white.pixel(x, y)) == 255)
                whiteInk += qGray(white.pixel(x, y)) > 200;
            if (qAlpha(plain.pixel(x, y)) == 255)
                darkInk += qGray(plain.pixel(x, y)) < 80;
        }
    EXPECT_GT(whiteInk, 10);
    EXPECT_GT(darkInk, 10);
}
