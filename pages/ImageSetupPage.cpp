#include "pages/ImageSetupPage.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "i18n/MessageKeys.h"
#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "platform/Log.h"

namespace qv {
namespace {

struct Column {
  const char* key;
  int format;
};
const Column kColumns[] = {
    {"Name", LVCFMT_LEFT},       {"Location", LVCFMT_LEFT},
    {"Width", LVCFMT_RIGHT},     {"Height", LVCFMT_RIGHT},
    {"Color Depth", LVCFMT_RIGHT}, {"Include Sub Folder", LVCFMT_RIGHT},
};
constexpr int kColumnCount = 6;
constexpr int kDefaultColumnWidth = 100;
constexpr int kLastColumnWidth = 120;

const char kImageFilter[] =
    "All Image Formats|*.bmp;*.jpg;*.jpeg;*.gif;*.emf;*.wmf;*.tga;*.png;*.dib;*.rle;*.tif;*.tiff|"
    "Bitmaps Files|*.bmp;*.dib;*.rle|Enhanced Metafiles|*.emf|Windows Metafiles|*.wmf|"
    "GIF Image Files|*.gif|JPEG Image Files|*.jpg;*.jpeg|PCX Image Files|*.pcx|"
    "PNG Image Files|*.png|TGA Image Files|*.tga|TIFF Image Files|*.tif;*.tiff|";

// The icon of a path in the system image lists, by its attributes (the file is not opened).
int SystemIcon(const std::string& path, bool folder) {
  SHFILEINFOA info{};
  ::SHGetFileInfoA(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info,
                   sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  return info.iIcon;
}

std::string DepthText(int depth) {
  char format[64] = "%d bit";
  ::LoadStringA(::GetModuleHandleA(nullptr), IDS_DEPTH_FORMAT, format, sizeof format);
  char text[96];
  std::snprintf(text, sizeof text, format, depth);
  return text;
}

}  // namespace

ImageSetupPage::ImageSetupPage(const PageServices& services, const ImagePageSettings& settings)
    : BaseSetupDlg(services, settings.list), imageSettings_(settings) {
  queue_ = std::make_unique<ThumbnailQueue>(&MakeRowThumbnail, [this] {
    // The worker only posts: a message sent across threads would wait for this thread.
    if (HWND window = notifyWindow_.load()) ::PostMessageA(window, QV_MSG_THUMBNAILS_READY, 0, 0);
  });
}

ImageSetupPage::~ImageSetupPage() {
  // While this class's handlers still exist: they free the row records and stop the worker.
  if (IsWindow()) Destroy();
  queue_->Stop();
}

bool ImageSetupPage::OnInit() {
  BaseSetupDlg::OnInit();
  notifyWindow_ = Handle();
  add_.Attach(Item(IDC_ADD));
  addMenu_.Reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(imageSettings_.addMenuId)));
  listModeMenu_.Reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MODE)));
  add_.SetMenu(addMenu_.Get());
  listMode_.SetMenu(listModeMenu_.Get());
  CreatePreview();
  return true;
}

void ImageSetupPage::SetupList() {
  list_.SetImageList(SystemImageList(false), LVSIL_SMALL);
  list_.SetImageList(SystemImageList(true), LVSIL_NORMAL);
  ::DragAcceptFiles(Handle(), TRUE);
  for (int i = 0; i < kColumnCount; ++i)
    list_.InsertColumn(i, Text("Item List Column", kColumns[i].key), kDefaultColumnWidth,
                       kColumns[i].format);
  const int mode = GetImageList().viewMode;
  GetImageList().viewMode = -1;  // so that the switch always takes place
  if (mode == 1) ShowThumbnails(); else ShowDetails();
  list_.AddStyle(LVS_AUTOARRANGE);
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
}

void ImageSetupPage::Localize() {
  BaseSetupDlg::Localize();
  listMode_.SetText(Text("List Mode Button", ThumbnailView() ? "Thumbnail" : "Details"));
  if (list_.Handle())
    for (int i = 0; i < kColumnCount; ++i)
      list_.SetColumnTitle(i, Text("Item List Column", kColumns[i].key));
}

ImageRowRecord* ImageSetupPage::NewRecord() {
  auto* record = new ImageRowRecord;
  record->id = nextId_++;
  records_[record->id] = record;
  return record;
}

int ImageSetupPage::InsertRecordRow(ImageRowRecord* record) {
  const int row = list_.InsertRow(list_.Count(), record->fields.name, record->icon,
                                  reinterpret_cast<LPARAM>(record));
  if (row < 0) {
    QV_LOG();
    records_.erase(record->id);
    delete record;
    return -1;
  }
  RefreshRow(row);
  return row;
}

void ImageSetupPage::AddFileRow(const std::string& path) {
  int32_t width = 0, height = 0, depth = 0;
  GetImageInfo(path.c_str(), width, height, depth);
  AddFileRow(path, width, height, depth);
}

void ImageSetupPage::AddFileRow(const std::string& path, int width, int height, int depth) {
  ImageRowRecord* record = NewRecord();
  record->thumbState = kThumbNotMade;
  record->icon = SystemIcon(path, false);
  SplitFilePath(path, &record->fields.name, &record->fields.location);
  record->fields.width = width;
  record->fields.height = height;
  record->fields.depth = depth;
  InsertRecordRow(record);
}

int ImageSetupPage::AddRow(const ImageRowFields& fields, int icon) {
  ImageRowRecord* record = NewRecord();
  record->thumbState = kThumbNotMade;
  record->icon = icon;
  record->fields = fields;
  return InsertRecordRow(record);
}

void ImageSetupPage::AddFolderRow(const std::string& path, bool includeSubFolders) {
  std::string name, location;
  if (!SplitFolderPath(path, &name, &location)) {
    QV_LOG_MSG(path.c_str());
    return;
  }
  ImageRowRecord* record = NewRecord();
  record->thumbState = kThumbNone;
  record->icon = SystemIcon(path, true);
  record->fields.name = name;
  record->fields.location = location;
  record->fields.isFolder = 1;
  record->fields.includeSubFolders = includeSubFolders ? 1 : 0;
  InsertRecordRow(record);
}

void ImageSetupPage::AddPath(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    AddFolderRow(path, true);
  } else if (IsDroppablePictureName(path)) {
    AddFileRow(path);
  }
}

void ImageSetupPage::RowDeleted(LPARAM data) {
  auto* record = reinterpret_cast<ImageRowRecord*>(data);
  if (!record) return;
  records_.erase(record->id);
  delete record;
  SchedulePreview();
}

ImageRowRecord* ImageSetupPage::RecordAt(int row) const {
  if (row < 0 || row >= list_.Count()) return nullptr;
  return reinterpret_cast<ImageRowRecord*>(list_.Data(row));
}

const ImageRowRecord* ImageSetupPage::Record(int row) const { return RecordAt(row); }

int ImageSetupPage::RowOf(const ImageRowRecord* record) const {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(record);
  return static_cast<int>(list_.Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

bool ImageSetupPage::GetRowPath(int row, std::string* path) const {
  path->clear();
  if (row < 0 || row >= list_.Count()) return false;
  const ImageRowRecord* record = RecordAt(row);
  if (!record || (record->fields.location.empty() && record->fields.name.empty())) {
    QV_LOG();
    return false;
  }
  *path = RowFullPath(record->fields);
  return true;
}

void ImageSetupPage::RefreshRow(int row) {
  const ImageRowRecord* record = RecordAt(row);
  if (!record) {
    QV_LOG();
    return;
  }
  const ImageRowFields& f = record->fields;
  list_.SetText(row, 0, f.name);
  list_.SetText(row, 1, f.location);
  const bool known = f.width > 0;
  list_.SetText(row, 2, known ? std::to_string(f.width) : std::string());
  list_.SetText(row, 3, known ? std::to_string(f.height) : std::string());
  list_.SetText(row, 4, known ? DepthText(f.depth) : std::string());
  std::string folder;
  if (f.isFolder) folder = Text(msg::kSection, f.includeSubFolders ? msg::kYes : msg::kNo);
  list_.SetText(row, 5, folder);
}

void ImageSetupPage::LoadPage() {
  list_.DeleteAll();
  for (const SetupItem& item : GetImageList().items) {
    if (item.isFolder) {
      AddFolderRow(item.path, item.includeSubFolders != 0);
      continue;
    }
    ImageRowRecord* record = NewRecord();
    record->icon = SystemIcon(item.path, false);
    SplitFilePath(item.path, &record->fields.name, &record->fields.location);
    record->fields.width = item.width;
    record->fields.height = item.height;
    record->fields.depth = item.depth;
    InsertRecordRow(record);
  }
  SetColumnWidths();
}

void ImageSetupPage::SavePage() {
  std::vector<SetupItem>& items = GetImageList().items;
  items.resize(static_cast<size_t>(list_.Count()));
  for (int row = 0; row < list_.Count(); ++row) {
    const ImageRowRecord* record = RecordAt(row);
    if (!record) {
      QV_LOG();
      continue;
    }
    SetupItem& item = items[static_cast<size_t>(row)];
    item.path = RowFullPath(record->fields);
    item.width = record->fields.width;
    item.height = record->fields.height;
    item.depth = record->fields.depth;
    item.isFolder = record->fields.isFolder;
    item.includeSubFolders = record->fields.includeSubFolders;
  }
}

void ImageSetupPage::MoveButtonColumn(int dx) {
  BaseSetupDlg::MoveButtonColumn(dx);
  MoveControlX(IDC_LIST_MODE, dx);
}

std::string ImageSetupPage::FileFilter() const { return kImageFilter; }

void ImageSetupPage::AddFiles() {
  std::vector<std::string> paths;
  if (!services_.pickFiles(Handle(), FileFilter(), &paths)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  for (const std::string& path : paths) AddFileRow(path);
  ::SetCursor(previous);
  SetColumnWidths();
  ResetSort();
}

void ImageSetupPage::AddFolder() {
  std::string folder;
  bool includeSubFolders = true;
  if (!services_.pickFolder(Handle(), &folder, &includeSubFolders)) return;
  AddFolderRow(folder, includeSubFolders);
  SetColumnWidths();
}

void ImageSetupPage::SetColumnWidths() {
  if (ThumbnailView()) return;
  const bool rows = list_.Count() > 0;
  list_.SetColumnWidth(0, rows ? LVSCW_AUTOSIZE : kDefaultColumnWidth);
  list_.SetColumnWidth(1, rows ? LVSCW_AUTOSIZE : kDefaultColumnWidth);
  for (int i = 2; i <= 4; ++i) list_.SetColumnWidth(i, kDefaultColumnWidth);
  list_.SetColumnWidth(5, kLastColumnWidth);
}

void ImageSetupPage::ShowThumbnails() {
  ImageSetupData& images = GetImageList();
  if (images.viewMode == 1) return;
  images.viewMode = 1;
  listMode_.SetText(Text("List Mode Button", "Thumbnail"));
  list_.SetRedraw(false);  // on again in Repaint
  list_.SetView(LVS_SMALLICON);
  // Empty: it only makes the icon cells large enough for the frame and the label.
  thumbCells_.Reset(::ImageList_Create(imageSettings_.thumbWidth - 5, imageSettings_.thumbHeight + 11,
                                       ILC_COLOR24, 0, 1));
  list_.SetImageList(thumbCells_.Get(), LVSIL_NORMAL);
  list_.SetView(LVS_ICON);
  list_.Repaint();
}

void ImageSetupPage::ShowDetails() {
  ImageSetupData& images = GetImageList();
  if (images.viewMode == 0) return;
  images.viewMode = 0;
  listMode_.SetText(Text("List Mode Button", "Details"));
  list_.SetRedraw(false);  // on again in Repaint
  list_.SetView(LVS_REPORT);
  SetColumnWidths();
  list_.Repaint();
}

void ImageSetupPage::SortBy(int column) {
  const int count = list_.Count();
  if (column == sortColumn_) {
    ApplyRowOrder(ReversedRows(count));
    SetSort(column, !sortAscending_);
  } else {
    std::vector<const ImageRowFields*> fields;
    static const ImageRowFields kEmpty;
    for (int row = 0; row < count; ++row) {
      const ImageRowRecord* record = RecordAt(row);
      fields.push_back(record ? &record->fields : &kEmpty);
    }
    RowOrder order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return CompareRows(column, *fields[static_cast<size_t>(a)], *fields[static_cast<size_t>(b)]) < 0;
    });
    ApplyRowOrder(order);
    SetSort(column, true);
  }
  ::InvalidateRect(list_.Handle(), nullptr, TRUE);
}

void ImageSetupPage::OpenSelected() {
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  services_.shellOpen(Handle(), path, SW_SHOWDEFAULT);
}

void ImageSetupPage::LocalizeAddMenu(HMENU menu) { SetMenuTexts(menu, imageSettings_.menuTexts, 2); }

void ImageSetupPage::LocalizeContextMenu(HMENU menu) {
  BaseSetupDlg::LocalizeContextMenu(menu);
  SetMenuTexts(menu, imageSettings_.menuTexts, imageSettings_.menuTextCount);
}

bool ImageSetupPage::OnMenuButton(widgets::MenuButton& button, int id) {
  if (!button.ClickOnArrow()) return false;
  HMENU menu = button.DropDown();
  if (id == IDC_ADD) LocalizeAddMenu(menu); else LocalizeListModeMenu(menu);
  button.ShowMenu(Handle());
  return true;
}

bool ImageSetupPage::OnCommand(int code, int id, HWND control) {
  switch (id) {
    case IDC_ADD:
      if (!OnMenuButton(add_, id)) AddFiles();
      return true;
    case ID_ADD_FILES: AddFiles(); return true;
    case ID_ADD_FOLDER: AddFolder(); return true;
    case IDC_LIST_MODE:
      if (!OnMenuButton(listMode_, id)) {
        if (ThumbnailView()) ShowDetails(); else ShowThumbnails();
      }
      return true;
    case ID_VIEW_DETAILS: ShowDetails(); return true;
    case ID_VIEW_THUMBNAILS: ShowThumbnails(); return true;
  }
  return BaseSetupDlg::OnCommand(code, id, control);
}

bool ImageSetupPage::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (header->hwndFrom == list_.Handle()) {
    switch (header->code) {
      case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return true;
      case NM_DBLCLK:
        OpenSelected();
        return true;
      case NM_CUSTOMDRAW:
        *result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        return true;
      case LVN_ITEMCHANGED: {
        const NMLISTVIEW& change = *reinterpret_cast<NMLISTVIEW*>(header);
        if ((change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
          SchedulePreview();
        return false;
      }
    }
  }
  return BaseSetupDlg::OnNotify(id, header, result);
}

INT_PTR ImageSetupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == QV_MSG_THUMBNAILS_READY) {
    ApplyThumbnails();
    return TRUE;
  }
  if (message == QV_MSG_PREVIEW_SELECTION) {
    previewPosted_ = false;
    UpdatePreview();
    return TRUE;
  }
  if (message == WM_DRAWITEM) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->hwndItem == add_.Handle()) {
      add_.Draw(*item);
      return TRUE;
    }
  }
  return BaseSetupDlg::OnMessage(message, wParam, lParam);
}

void ImageSetupPage::OnDestroy() {
  StopThumbnails();
  notifyWindow_ = nullptr;
  list_.DeleteAll();  // frees the records while this page is whole
  BaseSetupDlg::OnDestroy();
}

}  // namespace qv
