// The built-in download sites of each kind. The site list refresh may bring newer ones; these are
// what a new or reset list starts with.
#include <cstring>

#include "core/ChangeLists.h"

namespace qv {
namespace {

struct BuiltInSite {
  const char* category;
  const char* name;
  const char* address;
};

const BuiltInSite kSites[] = {
    {"bootscreen", "Quorvex Boot Screens", "http://www.quorvex.com/gallery/bootscreen.htm"},
    {"bootscreen", "Boot Screens: Newest", "http://www.quorvex.com/gallery/bootscreen-new.htm"},
    {"bootscreen", "Boot Screens: Most Popular", "http://www.quorvex.com/gallery/bootscreen-top.htm"},
    {"bootscreen", "Boot Screens: Photographs", "http://www.quorvex.com/gallery/bootscreen-photo.htm"},
    {"bootscreen", "Boot Screens: Artwork", "http://www.quorvex.com/gallery/bootscreen-art.htm"},
    {"wallpaper", "Quorvex Wallpapers", "http://www.quorvex.com/gallery/wallpaper.htm"},
    {"wallpaper", "Wallpapers: Newest", "http://www.quorvex.com/gallery/wallpaper-new.htm"},
    {"wallpaper", "Wallpapers: Most Popular", "http://www.quorvex.com/gallery/wallpaper-top.htm"},
    {"wallpaper", "Wallpapers: Nature", "http://www.quorvex.com/gallery/wallpaper-nature.htm"},
    {"wallpaper", "Wallpapers: Artwork", "http://www.quorvex.com/gallery/wallpaper-art.htm"},
    {"ieksin", "Quorvex Toolbar Skins", "http://www.quorvex.com/gallery/skin.htm"},
    {"ieksin", "Skins: Newest", "http://www.quorvex.com/gallery/skin-new.htm"},
    {"ieksin", "Skins: Most Popular", "http://www.quorvex.com/gallery/skin-top.htm"},
    {"screensaver", "Quorvex Screen Savers", "http://www.quorvex.com/gallery/screensaver.htm"},
    {"screensaver", "Screen Savers: Newest", "http://www.quorvex.com/gallery/screensaver-new.htm"},
    {"screensaver", "Screen Savers: Most Popular", "http://www.quorvex.com/gallery/screensaver-top.htm"},
    {"screensaver", "Screen Savers: Photographs", "http://www.quorvex.com/gallery/screensaver-photo.htm"},
    {"screensaver", "Screen Savers: 3D", "http://www.quorvex.com/gallery/screensaver-3d.htm"},
};

}  // namespace

std::vector<SiteLink> BuiltInSiteLinks(const char* categoryKey) {
  std::vector<SiteLink> links;
  for (const BuiltInSite& site : kSites)
    if (std::strcmp(site.category, categoryKey) == 0)
      links.push_back(SiteLink{site.name, site.address, std::string(), site.category});
  return links;
}

}  // namespace qv
