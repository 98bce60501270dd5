// Every text of every page and of the Result dialog has room for the whole of itself, in both
// languages, at the scale the process runs at (ctest runs this once more with QT_SCALE_FACTOR=2).
// The pages hold this machine's probe answers and long recorded names where the machine's own
// would be short.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTextDocument>
#include <sstream>

#include "app/main_dialog.h"
#include "app/pages/device_page.h"
#include "app/pages/disk_page.h"
#include "app/pages/dll_page.h"
#include "app/pages/feature_page.h"
#include "app/pages/mark_page.h"
#include "app/pages/ranking_page.h"
#include "app/pages/system_page.h"
#include "app/result_dialog.h"
#include "app/score_bar.h"
#include "bench/list_tabs.h"
#include "core/app_log.h"
#include "core/probe_binding.h"
#include "core/settings.h"
#include "core/startup_flags.h"
#include "core/ui_language.h"
#include "ranking/choice_lists.h"
#include "session/recording.h"
#include "tests/support/offscreen_application.h"
#include "tests/support/recorded_machine.h"
#include "tests/support/temp_folder.h"

namespace velora {
namespace {

std::string Name(const QWidget* w) {
  std::ostringstream out;
  out << w->metaObject()->className();
  if (!w->objectName().isEmpty()) out << " '" << w->objectName().toStdString() << "'";
  return out.str();
}

// The faults found, one line each: where, what text, how much room it needs and has.
class RoomCheck {
 public:
  explicit RoomCheck(std::string where) : where_(std::move(where)) {}

  void fits(const QWidget* w, const QString& text, QSize need, QSize room) {
    if (text.isEmpty() || (need.width() <= room.width() && need.height() <= room.height())) return;
    std::ostringstream out;
    out << where_ << ": " << Name(w) << " \"" << text.left(60).toStdString() << "\" needs "
        << need.width() << "x" << need.height() << ", has " << room.width() << "x"
        << room.height();
    faults.push_back(out.str());
  }

  void label(const QLabel* l) {
    if (l->text().isEmpty() || l->textFormat() == Qt::RichText) return;
    const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(),
                                                  -l->margin());
    const int flags = l->buddy() != nullptr ? Qt::TextShowMnemonic : 0;
    if (l->wordWrap()) {
      const QRect need = l->fontMetrics().boundingRect(room, Qt::TextWordWrap | flags, l->text());
      fits(l, l->text(), QSize(0, need.height()), room.size());
    } else {
      fits(l, l->text(), l->fontMetrics().size(flags, l->text()), room.size());
    }
  }

  void lineEdit(const QLineEdit* e) {
    QStyleOptionFrame option;
    option.initFrom(e);
    option.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    QRect room = e->style()->subElementRect(QStyle::SE_LineEditContents, &option, e);
    const QMargins m = e->textMargins();
    // The edit keeps two pixels of its own on either side of the text, and one for the cursor.
    room = room.adjusted(m.left() + 2, m.top(), -m.right() - 2, -m.bottom());
    const QFontMetrics fm = e->fontMetrics();
    fits(e, e->displayText(), QSize(fm.horizontalAdvance(e->displayText()) + 1, fm.height()),
         room.size());
  }

  void comboBox(QComboBox* c) {
    if (!c->isEditable()) {
      QStyleOptionComboBox option;
      option.initFrom(c);
      option.editable = false;
      option.frame = c->hasFrame();
      const QRect room =
          c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
      const QFontMetrics fm = c->fontMetrics();
      fits(c, c->currentText(), QSize(fm.horizontalAdvance(c->currentText()), fm.height()),
           room.size());
    }
    if (c->count() == 0) return;
    // The open list: every entry whole.
    c->showPopup();
    QAbstractItemView* list = c->view();
    for (int row = 0; row < c->count(); ++row) {
      const QModelIndex index = c->model()->index(row, c->modelColumn());
      fits(list, c->itemText(row), list->sizeHintForIndex(index),
           QSize(list->viewport()->width(), list->sizeHintForIndex(index).height()));
    }
    c->hidePopup();
  }

  void tabBar(const QTabBar* t) {
    for (int i = 0; i < t->count(); ++i) {
      QStyleOptionTab option;
      option.initFrom(t);
      option.text = t->tabText(i);
      const int space = t->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, t);
      const QSize text = t->fontMetrics().size(Qt::TextShowMnemonic, t->tabText(i));
      const QRect tab = t->tabRect(i);
      // A tab pushed past the bar's end is as hidden as a cut text.
      const int shown = std::min(tab.right(), t->width() - 1) - tab.left() + 1;
      fits(t, t->tabText(i), QSize(text.width() + space, text.height()),
           QSize(shown, tab.height()));
    }
  }

  void itemView(const QTableView* v) {
    const QAbstractItemModel* model = v->model();
    if (model == nullptr) return;
    const QHeaderView* header = v->horizontalHeader();
    for (int c = 0; c < model->columnCount(); ++c) {
      if (v->isColumnHidden(c)) continue;
      if (!header->isHidden()) {
        const QString heading = model->headerData(c, Qt::Horizontal).toString();
        const int margin = v->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const QFontMetrics fm = header->fontMetrics();
        fits(header, heading, QSize(fm.horizontalAdvance(heading) + 2 * margin, fm.height()),
             QSize(header->sectionSize(c), header->height()));
      }
      for (int r = 0; r < model->rowCount(); ++r) {
        if (v->isRowHidden(r)) continue;
        const QModelIndex index = model->index(r, c);
        // A grid line takes a pixel of its cell.
        const int grid = v->showGrid() ? 1 : 0;
        fits(v, index.data().toString(), v->sizeHintForIndex(index),
             QSize(v->columnWidth(c) - grid, v->rowHeight(r) - grid));
      }
    }
  }

  void groupBox(const QGroupBox* g) {
    QStyleOptionGroupBox option;
    option.initFrom(g);
    option.text = g->title();
    option.textAlignment = g->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        g->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, g);
    const QSize need = g->fontMetrics().size(Qt::TextShowMnemonic, g->title());
    fits(g, g->title(), need, QSize(std::min(label.right(), g->width() - 1) - label.left() + 1,
                                    label.height()));
  }

  void button(const QAbstractButton* b) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    const bool check = qobject_cast<const QCheckBox*>(b) != nullptr ||
                       qobject_cast<const QRadioButton*>(b) != nullptr;
    const QRect room = b->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, b);
    fits(b, b->text(), b->fontMetrics().size(Qt::TextShowMnemonic, b->text()), room.size());
  }

  void scoreBar(const ScoreBar* bar) {
    const QFontMetrics fm(bar->textFont(), bar);
    fits(bar, bar->text(), QSize(fm.horizontalAdvance(bar->text()), fm.height()), bar->textRoom());
  }

  // Controls laid over one another hide each other's texts.
  void overlaps(const QWidget* parent) {
    std::vector<const QWidget*> shown;
    for (const QObject* o : parent->children()) {
      const auto* w = qobject_cast<const QWidget*>(o);
      if (w != nullptr && w->isVisible() && !w->isWindow()) shown.push_back(w);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
      for (size_t j = i + 1; j < shown.size(); ++j) {
        if (!shown[i]->geometry().intersects(shown[j]->geometry())) continue;
        faults.push_back(where_ + ": " + Name(shown[i]) + " overlaps " + Name(shown[j]));
      }
    }
  }

  void walk(QWidget* top) {
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.push_back(top);
    for (QWidget* w : widgets) {
      if (!w->isVisible()) continue;
      if (auto* l = qobject_cast<QLabel*>(w)) label(l);
      if (auto* e = qobject_cast<QLineEdit*>(w)) lineEdit(e);
      if (auto* c = qobject_cast<QComboBox*>(w)) comboBox(c);
      if (auto* t = qobject_cast<QTabBar*>(w)) tabBar(t);
      if (auto* v = qobject_cast<QTableView*>(w)) itemView(v);
      if (auto* g = qobject_cast<QGroupBox*>(w)) groupBox(g);
      if (auto* b = qobject_cast<QAbstractButton*>(w); b != nullptr && w->parent() != nullptr &&
                                                       !w->parent()->inherits("QTabBar"))
        button(b);
      if (auto* bar = qobject_cast<ScoreBar*>(w)) scoreBar(bar);
      // Scroll areas and combos lay out their own insides.
      if (!w->inherits("QAbstractScrollArea") && !w->inherits("QComboBox") &&
          !w->inherits("QAbstractScrollAreaViewport"))
        overlaps(w);
    }
  }

  std::vector<std::string> faults;

 private:
  std::string where_;
};

class TextRoomTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureOffscreenApplication(); }
  void SetUp() override {
    UiLanguage = kEnglish;
    window = std::make_unique<MainDialog>(context);
    window->showMessage = [](const std::string&, const std::string&) {};
    ASSERT_TRUE(window->initialise());
    window->show();
    FillWithLongData();
    QApplication::processEvents();
  }

  void CheckEveryPageAndTheResultDialog() {
    const std::string scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toStdString();
    std::vector<std::string> faults;
    for (int language : {kEnglish, kJapanese}) {
      window->setLanguage(language);
      const std::string lang = (language == kEnglish ? "en" : "jp") + std::string(" x") + scale;
      for (int tab = 0; tab < window->tabs()->count(); ++tab) {
        window->selectPage(tab);
        WalkPage(tab, grabPrefix + window->tabs()->tabText(tab).toStdString() + " " + lang, faults);
      }
      auto* ranking = dynamic_cast<RankingPage*>(window->page(1));
      ASSERT_NE(ranking, nullptr);
      std::unique_ptr<ResultDialog> result = ranking->makeResultDialog();
      // The widest scores and averages a machine of today reaches.
      result->bar(kTestOverall)->setValue(888888);
      for (int test = 1; test < kTestRows; ++test) result->bar(test)->setValue(88888);
      result->bar(kTestMmt)->setText(QStringLiteral("23456.78 MB/s"));
      result->bar(kTestNet)->setText(QStringLiteral("8888.88 MB/s"));
      result->show();
      QApplication::processEvents();
      Keep(result.get(), grabPrefix + "Result " + lang);
      RoomCheck check("Result dialog " + lang);
      check.walk(result.get());
      faults.insert(faults.end(), check.faults.begin(), check.faults.end());
    }
    std::string all;
    for (const std::string& fault : faults) all += fault + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " texts without room:\n" << all;
  }

  // Names as long as real machines give them, where this machine's may be short.
  void FillWithLongData() {
    InventoryFields fields;
    fields.biosVendor = " American Megatrends International, LLC.";
    fields.biosCaption = fields.biosVersion = " 3287 (ROG STRIX X670E-E GAMING WIFI)";
    fields.biosDate = " 2024/12/27";
    fields.smbiosCaption = " 3287";
    fields.systemVendor = fields.motherVendor = " ASUSTeK COMPUTER INC.";
    fields.systemModel = " System Product Name (To be filled by O.E.M.)";
    fields.motherProduct = " ROG STRIX X670E-E GAMING WIFI";
    fields.motherVersion = " Rev 1.xx";
    fields.ideController = " Advanced Micro Devices, Inc. [AMD] 600 Series Chipset SATA Controller";
    fields.videoVendor = " Advanced Micro Devices, Inc. [AMD/ATI]";
    fields.videoProduct = " Navi 31 [Radeon RX 7900 XT/7900 XTX/7900 GRE/7900M]";
    fields.videoChip = " AMD Radeon RX 7900 XTX (radeonsi, navi31, LLVM 19.1.7, DRM 3.61)";
    fields.driverVersion = "Mesa 24.3.4-1~bpo12+1";
    fields.videoRam = "24560";
    if (auto* system = dynamic_cast<SystemPage*>(window->page(2))) {
      system->applyInventory(fields);
      system->refreshFromCollector();
    }
    if (auto* device = dynamic_cast<DevicePage*>(window->page(5))) {
      device->applyInventory(fields);
      device->refreshFromCollector();
    }
    if (auto* disk = dynamic_cast<DiskPage*>(window->page(7))) {
      DiskRow nvme;
      nvme.identity.model = "Samsung SSD 990 PRO with Heatsink 4TB";
      nvme.identity.serialNumber = "S7DSNJ0X123456A";
      nvme.identity.firmwareRevision = "4B2QJXD7";
      nvme.identity.maximumMode = "PCIe 4.0 x4";
      nvme.identity.currentMode = "PCIe 4.0 x4";
      nvme.identity.diskSize = nvme.identity.lba48Size = 40000;
      nvme.interfaceText = "NVMe";
      DiskRow sata = nvme;
      sata.identity.model = "WDC WD140EDGZ-11B2DA2";
      sata.identity.maximumMode = "SATA/600";
      sata.identity.currentMode = "Ultra DMA/133";
      sata.identity.ataStandard = "ATA/ATAPI-11";
      sata.identity.bufferBytes = 512 * 1024;
      sata.interfaceText = "SATA";
      std::vector<DriveRow> drives = disk->data().drives;
      DriveRow removable;
      removable.mountPoint = "/media/velora/Samsung_T7_Shield_2TB";
      removable.fsType = "exfat";
      removable.kind = DriveKind::kHardDisk;
      removable.hasSpace = true;
      removable.space = {2000398934016ULL, 1234567890123ULL};
      drives.push_back(removable);
      disk->setData(MakeDiskPageData({nvme, sata}, drives));
    }
    if (auto* ranking = dynamic_cast<RankingPage*>(window->page(1))) {
      QComboBox* memory = ranking->combo("memory");
      for (const std::string& entry :
           LoadPlainList(std::string(VELORA_SOURCE_DIR) + "/data/memory.dat"))
        memory->addItem(QString::fromStdString(entry));
    }
    if (auto* mark = dynamic_cast<MarkPage*>(window->page(0))) {
      // The widest scores a machine of today reaches.
      mark->setBarValue(kTestOverall, 888888);
      for (int test = 1; test < kTestRows; ++test) mark->setBarValue(test, 88888);
    }
  }

  // VELORA_GRAB_FOLDER set: a picture of what was checked, for a person to look at.
  static void Keep(QWidget* shown, const std::string& where) {
    const QString folder = qEnvironmentVariable("VELORA_GRAB_FOLDER");
    if (folder.isEmpty()) return;
    QString name = QString::fromStdString(where);
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    EXPECT_TRUE(shown->grab().save(folder + "/" + name + ".png"));
  }

  // Every tab or button of a page that shows other texts in the same widgets.
  void WalkPage(int tab, const std::string& where, std::vector<std::string>& faults) {
    std::vector<std::function<void()>> views{[] {}};
    if (auto* feature = dynamic_cast<FeaturePage*>(window->page(tab))) {
      for (int r = 1; r < kFeatureRegisterCount; ++r)
        views.push_back([feature, r] { feature->showTable(static_cast<FeatureRegister>(r)); });
    }
    if (auto* dll = dynamic_cast<DllPage*>(window->page(tab))) {
      for (int c = 1; c < kDllCategoryCount; ++c) views.push_back([dll, c] { dll->selectCategory(c); });
    }
    if (auto* mark = dynamic_cast<MarkPage*>(window->page(tab))) {
      for (int t = 1; t < kListTabCount; ++t) views.push_back([mark, t] { mark->selectListTab(t); });
    }
    for (size_t v = 0; v < views.size(); ++v) {
      views[v]();
      QApplication::processEvents();
      if (v == 0) Keep(window.get(), where);
      RoomCheck check(where + " view " + std::to_string(v));
      check.walk(window.get());
      faults.insert(faults.end(), check.faults.begin(), check.faults.end());
    }
  }

  testing::TempFolder dir;
  Settings settings{dir.file("bench.ini")};
  AppLog log{dir.file("bench.log")};
  ProbeBinding binding{VELORA_BIN_DIR};
  MainWindowContext context{binding, settings, log, [] { return uint32_t{kNoWmi}; }, "bench"};
  std::unique_ptr<MainDialog> window;
  std::string grabPrefix;
};

TEST_F(TextRoomTest, EveryTextOfEveryPageAndTheResultDialogHasRoom) {
  CheckEveryPageAndTheResultDialog();
}

// A window on a recording: its "not recorded" texts, in both languages, have room too.
class TextRoomOnRecordingTest : public TextRoomTest {
 protected:
  void SetUp() override {
    UiLanguage = kEnglish;
    testing::MakeRecordedMachine(recordingFolder.path());
    Recording recording;
    std::string error;
    ASSERT_TRUE(LoadRecording({recordingFolder.path()}, recording, error)) << error;
    machine = std::make_unique<MachineAccess>(std::move(recording));
    window = std::make_unique<MainDialog>(context, *machine);
    window->showMessage = [](const std::string&, const std::string&) {};
    ASSERT_TRUE(window->initialise());
    window->show();
    QApplication::processEvents();
    grabPrefix = "recording ";
  }
  void TearDown() override { window.reset(); }

  testing::TempFolder recordingFolder;
  std::unique_ptr<MachineAccess> machine;
};

TEST_F(TextRoomOnRecordingTest, EveryTextHasRoom) { CheckEveryPageAndTheResultDialog(); }

// The check itself: texts one pixel too wide for their label, field and bar are found, texts
// that fit are not; the field's limit is where the field itself starts to scroll its text.
TEST(RoomCheckTest, FindsATextWiderThanItsWidget) {
  testing::EnsureOffscreenApplication();
  QWidget parent;
  auto* label = new QLabel(QStringLiteral("Windows Used Time 12 h 34 m 56 s"), &parent);
  auto* edit = new QLineEdit(QStringLiteral("2026/12/09 22:41:05"), &parent);
  auto* bar = new ScoreBar(&parent);
  bar->setValue(123456);
  edit->move(0, 100);
  bar->move(0, 200);
  parent.show();
  auto faults = [&parent] {
    RoomCheck check("probe");
    check.walk(&parent);
    return check.faults;
  };
  // The end of the text as the field draws it: it moves left once the field scrolls.
  auto endOfText = [edit](int width) {
    edit->resize(width, edit->sizeHint().height());
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
    edit->grab();  // the field works out its scrolling as it paints
    return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
  };
  label->resize(label->sizeHint());
  bar->resize(bar->minimumSizeHint());
  int least = edit->fontMetrics().horizontalAdvance(edit->text());
  while (endOfText(least), !faults().empty()) ++least;
  EXPECT_EQ(endOfText(least), endOfText(least + 40)) << "the field does not scroll yet";
  EXPECT_LT(endOfText(least - 1), endOfText(least + 40)) << "one pixel less and it scrolls";

  endOfText(least);
  label->resize(label->sizeHint().width() - 1, label->sizeHint().height());
  bar->resize(bar->minimumSizeHint().width(), bar->minimumSizeHint().height() - 1);
  endOfText(least - 1);
  EXPECT_EQ(faults().size(), 3u);
}

}  // namespace
}  // namespace velora
