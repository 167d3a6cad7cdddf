// Profiles in the real window: the entries beside About, Ctrl+S with the
// platform's file dialog, and a profile saved from the window that the
// command line applies with the same frames on the wire.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/ReaderConfigDlg.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "device/ReportTrace.h"
#include "sim/CardReaderModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace {

using namespace ids;

// The trace's lines of one operation, without their times.
std::vector<std::string> StepsOf(const std::string& trace, const std::string& operation) {
    std::vector<std::string> out;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        const auto step = dev::ParseTraceStep(line);
        if (step && step->operation == operation) out.push_back(line.substr(line.find(' ') + 1));
    }
    return out;
}

class ProfileWindowQtTest : public ::testing::Test {
  protected:
    ProfileWindowQtTest() : port(clock), ui(app::MainDialogSpec()) {
        dir = std::filesystem::temp_directory_path() /
              ("profile-qt-" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::create_directories(dir);
    }
    ~ProfileWindowQtTest() override { std::filesystem::remove_all(dir); }

    void Start() {
        port.AttachQuietly(std::make_unique<sim::CardReaderModel>());
        dlg = std::make_unique<CReaderConfigDlg>(ui, port, port, clock);
        dlg->Link().SetTracer(&tracer);
        dlg->OnInitDialog();
        ui.Dialog()->show();
        ui.Dialog()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ui.Dialog()));
    }
    void Click(int id) {
        QTest::mouseClick(ui.Widget(id), Qt::LeftButton);
        ui.FinishOperations();
    }

    widgettest::AppFirst app;
    sim::VirtualClock clock;
    sim::VirtualHidPort port;
    tk::QtSurface ui;
    std::ostringstream trace;
    dev::TraceWriter tracer{trace, clock};
    std::unique_ptr<CReaderConfigDlg> dlg;
    std::filesystem::path dir;
};

TEST_F(ProfileWindowQtTest, EntriesFollowAboutInTheWindowMenu) {
    Start();
    std::unique_ptr<QMenu> menu(ui.NewWindowMenu(ui.Dialog()));
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("About")));
    EXPECT_EQ(texts.mid(1),
              (QStringList{QStringLiteral("保存配置文件..."), QStringLiteral("载入配置文件..."),
                           QStringLiteral("保存批量记录...")}));
    EXPECT_EQ(menu->actions().last()->isEnabled(), false);  // no batch log yet
    EXPECT_EQ(menu->actions()[menu->actions().size() - 3]->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+S")));
}

TEST_F(ProfileWindowQtTest, SavedFromTheWindowAppliedFromTheCommandLineSameFrames) {
    Start();
    Click(IDC_FORMAT_FIRST + 5);
    Click(IDC_ENTER_AFTER);
    Click(IDC_MIDDLE_SEP);
    const std::string path = (dir / "window.json").string();
    // Ctrl+S opens the file dialog; the user picks a name and accepts.
    bool sawDialog = false;
    ui.Modal().QueueAnswer(tk::MsgBoxResult::Ok, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(files, nullptr);
        sawDialog = true;
        files->selectFile(QString::fromStdString(path));
    });
    QTest::keyClick(ui.Dialog(), Qt::Key_S, Qt::ControlModifier);
    ui.FinishOperations();
    ASSERT_TRUE(sawDialog);
    ASSERT_TRUE(std::filesystem::exists(path));

    Click(IDC_SET_DEVICE);
    const auto window = StepsOf(trace.str(), "SetDevice");
    ASSERT_FALSE(window.empty());

    sim::VirtualClock cliClock;
    std::ostringstream cliTrace, out, err;
    dev::TraceWriter cliTracer(cliTrace, cliClock);
    EXPECT_EQ(cli::RunSimulated(cli::ParseCommandLine({"--simulate", "apply", path}), cliClock, out,
                                err, &cliTracer),
              0)
        << out.str() << err.str();
    EXPECT_EQ(StepsOf(cliTrace.str(), "SetDevice"), window);
}

TEST_F(ProfileWindowQtTest, FileListSpeaksTheInterfaceLanguageAndItsColumnsFit) {
    Start();
    std::filesystem::create_directory(dir / "folder");
    std::ofstream(dir / "fleet.json") << std::string(641, ' ');
    const struct {
        int languageClick;  // 0: as the tool starts
        const char* folder;
        const char* profile;
        const char* size;
        bool latinDate;
    } cases[] = {
        {0, "文件夹", "JSON 文件", "641 字节", false},
        {IDC_ENGLISH, "Folder", "JSON File", "641 bytes", true},
    };
    for (const auto& c : cases) {
        if (c.languageClick != 0) Click(c.languageClick);
        std::map<QString, QStringList> rows;  // name: size, type, date
        bool fits = true;
        ui.Modal().QueueAnswer(tk::MsgBoxResult::No, [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(files, nullptr);
            files->setDirectory(QString::fromStdString(dir.string()));
            auto* list = files->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(list, nullptr);
            const QAbstractItemModel* model = list->model();
            // The file system model reads the folder on a thread of its own.
            ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(list->rootIndex()) == 2; }));
            QCoreApplication::processEvents();
            for (int row = 0; row < 2; ++row) {
                auto text = [&](int column) {
                    return model->index(row, column, list->rootIndex()).data().toString();
                };
                rows[text(0)] = {text(1), text(2), text(3)};
                // Each text whole in its column, with room for the cell's margins.
                for (int column = 1; column <= 3; ++column)
                    if (list->fontMetrics().horizontalAdvance(text(column)) + 6 >
                        list->header()->sectionSize(column))
                        fits = false;
            }
        });
        dlg->OnCommand(ID_LOAD_PROFILE);
        ui.FinishOperations();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows["folder"].at(1), QString::fromUtf8(c.folder));
        EXPECT_EQ(rows["fleet.json"].at(1), QString::fromUtf8(c.profile));
        EXPECT_EQ(rows["fleet.json"].at(0), QString::fromUtf8(c.size));
        EXPECT_EQ(rows["fleet.json"].at(2).contains(QRegularExpression("[A-Za-z]")), c.latinDate)
            << rows["fleet.json"].at(2).toStdString();
        EXPECT_TRUE(fits);
    }
}

TEST_F(ProfileWindowQtTest, ARefusedProfileGivesItsReasonInTheInterfaceLanguage) {
    Start();
    const struct {
        const char* text;
        const char* zh;
        const char* en;
    } files[] = {
        {"{\"version\": 1, \"foo\": 1}", "foo: 未知字段", "foo: unknown field"},
        {"{\"version\": 1,\n \"idFormat\" 3}", "profile: 不是有效的 JSON（第 2 行第 13 列有误）",
         "profile: not valid JSON (parse error at line 2, column 13"},
        {"{\"version\": [1]}", "version: 未知版本 数组（本工具读取版本 1 和 2）",
         "version: unknown version an array"},
    };
    const std::string path = (dir / "refused.json").string();
    for (const bool english : {false, true}) {
        if (english) Click(IDC_ENGLISH);
        for (const auto& f : files) {
            std::ofstream(path, std::ios::trunc) << f.text;
            QString shown;
            ui.Modal().QueueAnswer(tk::MsgBoxResult::Ok, [&] {
                auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(files, nullptr);
                files->selectFile(QString::fromStdString(path));
            });
            ui.Modal().QueueAnswer(tk::MsgBoxResult::Ok, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                shown = box->text();
            });
            dlg->OnCommand(ID_LOAD_PROFILE);
            ui.FinishOperations();
            EXPECT_TRUE(shown.contains(QString::fromUtf8(english ? f.en : f.zh)))
                << shown.toStdString();
        }
    }
}

}  // namespace
