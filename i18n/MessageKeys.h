// The keys of section "Strings": the messages that ShowMessage shows, by the role they play.
// Those marked "with path" are formats whose one "%s" is a path (FormatWithPath).
#pragma once

namespace qv {
namespace msg {

constexpr char kSection[] = "Strings";

constexpr char kNeedSelection[] = "0003";        // an action needs a selected item
constexpr char kThumbnailLibrary[] = "0004";     // "kz.dll" cannot be loaded (stop icon)
constexpr char kConfirmExit[] = "0005";          // yes/no before the agent exits
constexpr char kBootIniNoEntry[] = "0006";       // boot.ini setup: no entry selected
constexpr char kBootIniWrite[] = "0007";         // boot.ini cannot be written
constexpr char kBootRestored[] = "0008";         // default boot screen restored
constexpr char kBootRestoreFailed[] = "0009";    // default boot screen not restored
constexpr char kIESkinRemoved[] = "0010";        // browser toolbar background removed
constexpr char kPictureLoad[] = "0011";          // with path: a picture cannot be loaded
constexpr char kNoWallpapers[] = "0012";         // the wallpaper list is empty
constexpr char kNoPicturesFound[] = "0013";      // the list's folders hold no pictures
constexpr char kNoIESkins[] = "0014";            // the browser skin list is empty
constexpr char kPictureSave[] = "0015";          // with path: a picture cannot be saved
constexpr char kLogonFailed[] = "0016";          // with path: cannot become the logon screen
constexpr char kLogonSet[] = "0017";             // logon screen set
constexpr char kLogonRestoreFailed[] = "0018";   // standard logon program not restored
constexpr char kApplyFailed[] = "0019";          // with path: picture not put into effect
constexpr char kWallpaperSet[] = "0020";         // wallpaper set
constexpr char kScreenSaverSet[] = "0021";       // screen saver set
constexpr char kBootScreenSet[] = "0022";        // boot screen set
constexpr char kIESkinSet[] = "0023";            // browser toolbar background set
constexpr char kFullScreenFailed[] = "0024";     // the preview cannot go full screen
constexpr char kNoBootBitmap[] = "0026";         // with path: a module without a boot bitmap
constexpr char kNumberRange[] = "0027";          // a number outside "%d" to "%d" is refused

constexpr char kYes[] = "Yes";
constexpr char kNo[] = "No";
constexpr char kHomePage[] = "Home Page";
constexpr char kFeedback[] = "Feedback";

}  // namespace msg
}  // namespace qv
