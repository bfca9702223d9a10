#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <pugixml.hpp>

#include "GuiTestSupport.h"
#include "app/ResourceNames.h"
#include "protocol/AssignmentCommands.h"
#include "protocol/FactoryReset.h"
#include "ui/CheckGroup.h"
#include "ui/ModalSeam.h"
#include "ui/UiEventHub.h"
#include "ui/UiLanguage.h"
#include "ui/UiLoader.h"
#include "ui/UiMenu.h"
#include "ui/UiResources.h"
#include "ui/WidgetTree.h"
#include "ui/XmlTranslator.h"

namespace {

template <class T>
T* Add(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(name);
    if (parent->layout()) parent->layout()->addWidget(w);
    return w;
}

}  // namespace

// ---- resources

TEST(UiResources, LoadsTheFolderAndFindsEntriesWithoutRegardToCase) {
    const UiResources& r = SourceResources();
    ASSERT_TRUE(r.IsLoaded());
    EXPECT_EQ(r.Path("layout:xml_mainwnd"), r.Path("LAYOUT:XML_MAINWND"));
    EXPECT_TRUE(QFile::exists(r.Path("LAYOUT:XML_MAINWND")));
    EXPECT_TRUE(r.Path("LAYOUT:nothing").isEmpty());
    EXPECT_EQ(r.InstanceName(), r.String("InstanceName"));
    EXPECT_FALSE(r.InstanceName().isEmpty());
    EXPECT_TRUE(r.Color("accent").isValid());
    // The style sheet has every colour name and resource reference resolved.
    EXPECT_FALSE(r.StyleSheet().contains('@'));
    EXPECT_FALSE(r.StyleSheet().contains("res("));
}

TEST(UiResources, TheIndexMirrorsTheProgramsListAndEveryFileExists) {
    QStringList listed;
    for (const char* name : ResourceNames) {
        listed << QString::fromLatin1(name);
        EXPECT_TRUE(SourceResources().Has(name)) << name;
    }
    for (const QString& name : SourceResources().Names()) {
        EXPECT_TRUE(listed.contains(name, Qt::CaseInsensitive)) << name.toStdString();
        // The assignment dialog's layout is that window's own to supply.
        if (name == "LAYOUT:macro") continue;
        EXPECT_TRUE(QFile::exists(SourceResources().Path(name))) << name.toStdString();
        if (name.startsWith("main:") || name.startsWith("ICON:") || name.startsWith("kb_macro:")) {
            EXPECT_FALSE(QImage(SourceResources().Path(name)).isNull()) << name.toStdString();
        }
    }
}

TEST(UiResources, StringEntryZeroIsTheNameThatSortsFirst) {
    QTemporaryDir dir;
    WriteMinimalFolder(dir.path(), "");
    UiResources r;
    ASSERT_TRUE(r.Load(dir.path()));
    EXPECT_EQ(r.InstanceName(), "first");  // "Alpha" sorts before "zeta" (ordinal: upper case first)
    EXPECT_EQ(r.ExpandString("@string/zeta"), "z");
    EXPECT_EQ(r.ExpandString("plain.xml"), "plain.xml");
}

TEST(UiResources, ABrokenFolderSaysWhatIsWrong) {
    struct Case {
        const char* what;
        QByteArray index;  // empty: no index at all
        QByteArray strings;
        const char* expected;
    };
    const Case cases[] = {
        {"no index", "", "", "missing"},
        {"damaged index", "<resource><UIDEF>", "", "damaged"},
        {"no definition", "<resource><LAYOUT><file name='a' path='a.ui'/></LAYOUT></resource>", "", "uidef"},
        {"empty string table",
         "<resource><UIDEF><file name='XML_INIT' path='init.xml'/></UIDEF><values><file name='string' "
         "path='string.xml'/></values></resource>",
         "<string/>", "first entry"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        if (!c.index.isEmpty()) WriteFile(dir.path(), "uires.idx", c.index);
        WriteFile(dir.path(), "init.xml", "<uidef><string src='values:string'/></uidef>");
        if (!c.strings.isEmpty()) WriteFile(dir.path(), "string.xml", c.strings);
        UiResources r;
        QString error;
        EXPECT_FALSE(r.Load(dir.path(), &error)) << c.what;
        EXPECT_TRUE(error.contains(c.expected, Qt::CaseInsensitive)) << c.what << ": " << error.toStdString();
        EXPECT_FALSE(r.IsLoaded());
    }
}

// ---- lookups

TEST(WidgetTree, IdsComeFromTheExplicitPropertyOrTheNamedIdTable) {
    QWidget root;
    auto* deep = new QWidget(new QWidget(&root));
    auto* combo = Add<QComboBox>(deep, "cmb_profile");
    auto* tray = Add<QWidget>(deep, "");
    tray->setProperty("id", 110);
    auto* nameless = Add<QPushButton>(deep, "not_in_table");
    WidgetTree::AssignIds(&root);
    EXPECT_EQ(WidgetTree::Id(combo), 65542);
    EXPECT_EQ(WidgetTree::Id(tray), 110);
    EXPECT_EQ(WidgetTree::Id(nameless), 0);

    EXPECT_EQ(WidgetTree::FindByName(&root, "cmb_profile", "combobox"), combo);
    EXPECT_EQ(WidgetTree::FindByName(&root, "cmb_profile", "window"), combo);  // a base class
    EXPECT_EQ(WidgetTree::FindByName(&root, "cmb_profile", "sliderbar"), nullptr);
    EXPECT_EQ(WidgetTree::FindById(&root, 110, "window"), tray);
    EXPECT_EQ(WidgetTree::FindById(&root, 65542, "QComboBox"), combo);  // Qt's spelling works too
    EXPECT_EQ(WidgetTree::FindByName(&root, "absent"), nullptr);
}

// ---- events

class EventHubTest : public ::testing::Test {
protected:
    void SetUp() override {
        root.setLayout(new QVBoxLayout);
        button = Add<QPushButton>(&root, "btn_more");
        slider = Add<QSlider>(&root, "bar_speed");
        slider->setRange(0, 3);
        slider->setOrientation(Qt::Horizontal);
        combo = Add<QComboBox>(&root, "cmb_led_mode");
        combo->addItems({"a", "b", "c"});
        WidgetTree::AssignIds(&root);
        hub.SetHook([this](UiEvent& e) {
            seen.push_back(e);
            return true;
        });
        hub.Attach(&root);
        root.show();
    }
    QWidget root;
    QPushButton* button = nullptr;
    QSlider* slider = nullptr;
    QComboBox* combo = nullptr;
    UiEventHub hub;
    std::vector<UiEvent> seen;
};

TEST_F(EventHubTest, AClickIsACommandWithItsSender) {
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].id, EventCmd);
    EXPECT_EQ(seen[0].senderName, "btn_more");
    EXPECT_EQ(seen[0].senderId, 65537);
    EXPECT_EQ(seen[0].sender, button);
}

TEST_F(EventHubTest, ASubscriptionThatHandlesTheEventKeepsItFromTheHook) {
    int calls = 0;
    hub.Subscribe(button, EventCmd, [&](UiEvent&) { return ++calls == 1; });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(seen.empty());
    QTest::mouseClick(button, Qt::LeftButton);  // now the subscription declines
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(EventHubTest, OnlyTheUserMovesASlider) {
    slider->setValue(1);
    EXPECT_TRUE(seen.empty());
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].id, EventSliderPos);
    EXPECT_EQ(seen[0].value, 2);
    EXPECT_EQ(slider->value(), 2);
}

TEST_F(EventHubTest, ComboChangesFromCodeAreSilentUnlessAskedToNotify) {
    combo->setCurrentIndex(1);
    QApplication::processEvents();
    UiEventHub::SelectComboItem(combo, 2, false);
    EXPECT_TRUE(seen.empty());
    UiEventHub::SelectComboItem(combo, 2, true);  // no change: nothing to report
    EXPECT_TRUE(seen.empty());
    UiEventHub::SelectComboItem(combo, 0, true);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].id, EventCBSelChange);
    EXPECT_EQ(seen[0].value, 0);

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // a pick by the user
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].value, 1);
}

// ---- check groups

TEST(CheckGroup, BuildsFromIdsAndChecksOnlyOneMemberEvenOfARadioRow) {
    QWidget root;
    root.setLayout(new QVBoxLayout);
    auto* first = Add<QRadioButton>(&root, "bar_color0");
    std::vector<QRadioButton*> row;
    for (const char* n : {"bar_color1", "bar_color2", "bar_color3"}) row.push_back(Add<QRadioButton>(&root, n));
    WidgetTree::AssignIds(&root);
    row[1]->setChecked(true);

    CheckGroup g = BuildCheckGroup(&root, {65597, 12345, 65598, 65599});
    ASSERT_EQ(g.size(), 3);  // the unknown id is skipped
    EXPECT_EQ(g.CheckedIndex(), -1);  // members start unchecked
    g.CheckOnly(2);
    EXPECT_EQ(g.CheckedIndex(), 2);
    EXPECT_TRUE(row[2]->isChecked());
    g.CheckOnly(-1);  // auto-exclusive radio buttons can still be emptied
    EXPECT_EQ(g.CheckedIndex(), -1);
    g.CheckOnly(7);
    EXPECT_EQ(g.CheckedIndex(), -1);
    first->setChecked(true);  // the row's first button is no member
    EXPECT_EQ(g.CheckedIndex(), -1);
    g.CheckOnly(0);
    EXPECT_FALSE(first->isChecked());
}

// ---- loader

TEST(UiLoader, BuildsRegisteredClassesNestedLayoutsAndRunsAttributeHooksOnce) {
    QTemporaryDir dir;
    WriteMinimalFolder(dir.path(),
                       "<LAYOUT><file name='outer' path='outer.ui'/><file name='inner' path='inner.ui'/>"
                       "<file name='loop' path='loop.ui'/></LAYOUT>");
    WriteFile(dir.path(), "outer.ui",
              "<ui version='4.0'><class>outer</class><widget class='QWidget' name='outer'>"
              "<layout class='QVBoxLayout' name='l'><item><widget class='QWidget' name='holder'>"
              "<property name='include' stdset='0'><string>LAYOUT:inner</string></property></widget></item>"
              "<item><widget class='testpicture' name='img_keyboard'><property name='crdxml' stdset='0'>"
              "<string>keys.xml</string></property></widget></item></layout></widget>"
              "<customwidgets><customwidget><class>testpicture</class><extends>QWidget</extends></customwidget>"
              "</customwidgets></ui>");
    WriteFile(dir.path(), "inner.ui",
              "<ui version='4.0'><class>inner</class><widget class='QWidget' name='inner'>"
              "<layout class='QVBoxLayout' name='l2'><item><widget class='QSlider' name='bar_speed'/></item>"
              "</layout></widget></ui>");
    WriteFile(dir.path(), "loop.ui",
              "<ui version='4.0'><class>loop</class><widget class='QWidget' name='loop'>"
              "<layout class='QVBoxLayout' name='l3'><item><widget class='QWidget' name='again'>"
              "<property name='include' stdset='0'><string>LAYOUT:loop</string></property></widget></item>"
              "</layout></widget></ui>");
    UiResources r;
    ASSERT_TRUE(r.Load(dir.path()));

    static int hookRuns = 0;
    static QString seenFile;
    UiLoader::RegisterClass("TestPicture", [](QWidget* p) { return new QLabel(p); },
                            [](QWidget* w, const UiResources&) {
                                ++hookRuns;
                                seenFile = w->property("crdxml").toString();
                            });
    EXPECT_FALSE(UiLoader::RegisterClass("testpicture", [](QWidget* p) { return new QWidget(p); }));

    UiLoader loader(r);
    QWidget parent;
    QString error;
    QWidget* outer = loader.LoadLayout("outer", &parent, &error);
    ASSERT_NE(outer, nullptr) << error.toStdString();
    EXPECT_TRUE(WidgetTree::FindByName(outer, "img_keyboard", "QLabel"));  // the registered class
    EXPECT_EQ(hookRuns, 1);
    EXPECT_EQ(seenFile, "keys.xml");
    QWidget* slider = WidgetTree::FindByName(outer, "bar_speed", "sliderbar");
    ASSERT_TRUE(slider);
    EXPECT_EQ(WidgetTree::Id(slider), 65591);

    EXPECT_EQ(loader.LoadLayout("absent", &parent, &error), nullptr);
    EXPECT_TRUE(error.contains("LAYOUT:absent"));
    EXPECT_EQ(loader.LoadLayout("loop", &parent, &error), nullptr);
    EXPECT_TRUE(error.contains("includes itself"));
}

// ---- menus

TEST(UiMenu, NamedItemsRaiseCommandsAndNumberedItemsReportTheirId) {
    QWidget owner;
    UiEventHub hub;
    std::vector<QString> names;
    hub.SetHook([&](UiEvent& e) {
        names.push_back(e.senderName);
        return true;
    });
    std::vector<int> ids;
    QMenu* menu = UiMenu::Load(SourceResources(), "smenuex:menu_more", &owner, [&](int id) { ids.push_back(id); }, &hub);
    ASSERT_TRUE(menu);
    std::vector<QAction*> all;
    std::function<void(QMenu*)> collect = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu()) collect(a->menu());
            else if (!a->isSeparator()) all.push_back(a);
        }
    };
    collect(menu);
    for (QAction* a : all) a->trigger();
    EXPECT_EQ(names, (std::vector<QString>{"zh_cn", "jp"}));
    EXPECT_EQ(ids, (std::vector<int>{1, 6}));

    EXPECT_EQ(UiMenu::Load(SourceResources(), "smenuex:absent", &owner, {}, &hub), nullptr);
    EXPECT_EQ(UiMenu::Load(SourceResources(), "values:color", &owner, {}, &hub), nullptr);  // not a menu
}

// ---- translation

TEST(UiLanguage, SwitchingRetranslatesLayoutsAndCodeTextsAtOnce) {
    UiLoader loader(SourceResources());
    QWidget window;
    QWidget* led = loader.LoadLayout("ledmode", &window);
    ASSERT_TRUE(led);
    auto* label = qobject_cast<QLabel*>(WidgetTree::FindByName(led, "bar_speed_parent_label", "text"));
    auto* modes = qobject_cast<QComboBox*>(WidgetTree::FindByName(led, "cmb_led_mode", "combobox"));
    ASSERT_TRUE(label && modes);
    QLabel status(&window);
    UiLanguage::SetText(&status, "Connected");

    ASSERT_TRUE(UiLanguage::Install(SourceResources(), "lang_cn"));
    UiLanguage::Retranslate(&window);
    EXPECT_EQ(UiLanguage::Current(), "cn");
    EXPECT_EQ(label->text(), QString::fromUtf8("速度"));
    EXPECT_EQ(modes->itemText(4), QString::fromUtf8("呼吸"));
    EXPECT_EQ(status.text(), QString::fromUtf8("已连接"));

    EXPECT_FALSE(UiLanguage::Install(SourceResources(), "lang_xx"));  // nothing changes
    EXPECT_EQ(UiLanguage::Current(), "cn");

    ASSERT_TRUE(UiLanguage::Install(SourceResources(), "lang_en"));
    UiLanguage::Retranslate(&window);
    EXPECT_EQ(label->text(), "Speed");
    EXPECT_EQ(modes->itemText(4), "Breathing");
    EXPECT_EQ(status.text(), "Connected");
}

TEST(UiLanguage, EveryTextOfTheLayoutsAndMenusHasAChineseTranslation) {
    pugi::xml_document doc;
    ASSERT_TRUE(SourceResources().LoadXml("translator:lang_cn", doc));
    XmlTranslator cn;
    ASSERT_TRUE(cn.LoadFrom(doc.child("language")));
    // Texts the code shows.
    for (const char* text : {"Connected", "Disconnected", "Warning", "Failed to open USB",
                             "Failed to start the upgrade exe", kFactoryResetQuestion, kNoSlotMessage})
        EXPECT_FALSE(cn.translate("kbdconf", text).isEmpty()) << text;
    const char* resources[] = {"LAYOUT:XML_MAINWND", "LAYOUT:ledmode", "LAYOUT:SYS_XML_MSGBOX", "SMENUEX:menu_more",
                               "SMENU:menu_tray"};
    for (const char* name : resources) {
        pugi::xml_document file;
        ASSERT_TRUE(SourceResources().LoadXml(name, file)) << name;
        // Layout strings not marked notr, and menu item texts; language names stay as written.
        // Layout properties for the code (stdset="0") are all notr.
        for (const pugi::xpath_node& n : file.select_nodes("//string[not(@notr='true')] | //item[not(@name)] | //menu[@text]")) {
            const pugi::xml_node node = n.node();
            std::string text = std::string_view(node.name()) == "menu" ? node.attribute("text").value() : node.text().get();
            while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
            while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.erase(0, 1);
            if (text.empty()) continue;
            EXPECT_FALSE(cn.translate("", text.c_str()).isEmpty()) << name << ": " << text;
        }
    }
}

// ---- modal seam

TEST(ModalSeam, ScriptedQuestionsAreRecordedAndAnsweredInOrder) {
    ModalSeam::Reset();
    ModalSeam::QueueAnswer(ModalSeam::IdOk);
    ModalSeam::QueueFileName("/tmp/a.mcr");
    EXPECT_EQ(ModalSeam::MessageBox(nullptr, "Sure?", "Warning", ModalSeam::Buttons::OkCancel), ModalSeam::IdOk);
    EXPECT_EQ(ModalSeam::MessageBox(nullptr, "Again?", "Warning", ModalSeam::Buttons::OkCancel), ModalSeam::IdCancel);
    EXPECT_EQ(ModalSeam::MessageBox(nullptr, "Note", "Warning", ModalSeam::Buttons::Ok), ModalSeam::IdOk);
    EXPECT_EQ(ModalSeam::OpenFileName(nullptr, "Import", "*.mcr"), "/tmp/a.mcr");
    EXPECT_EQ(ModalSeam::SaveFileName(nullptr, "Export", "*.mcr"), "");
    const auto asked = ModalSeam::TakeQuestions();
    ASSERT_EQ(asked.size(), 5u);
    EXPECT_EQ(asked[0].text, "Sure?");
    EXPECT_EQ(asked[0].caption, "Warning");
    EXPECT_EQ(asked[3].kind, "open");
    EXPECT_EQ(asked[4].kind, "save");
    EXPECT_TRUE(ModalSeam::TakeQuestions().empty());
}

// The 1x keyboard images are drawn by the same tool from the same coordinate file as the 2x
// ones; they must still show the same picture (a redraw of one set without the other fails).
TEST(KeyboardImages1x, MatchTheirHighDensityOriginals) {
    const QString folder = QStringLiteral(KBDCONF_SOURCE_DIR "/res/uires/image/keyboard/");
    for (const char* name : {"keyboard_normal.png", "keyboard_floating.png", "keyboard_checked.png",
                             "keyboard_pressed.png"}) {
        const QImage high = QImage(folder + name).convertToFormat(QImage::Format_ARGB32);
        const QImage single = QImage(folder + "1x/" + name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(single.size(), high.size() / 2) << name;
        const QImage reduced = high.scaled(single.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double difference = 0;
        for (int y = 0; y < single.height(); ++y)
            for (int x = 0; x < single.width(); ++x) {
                const QRgb a = single.pixel(x, y), b = reduced.pixel(x, y);
                difference += std::abs(qAlpha(a) - qAlpha(b)) + std::abs(qRed(a) - qRed(b)) +
                              std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            }
        const double perChannel = difference / (single.width() * single.height() * 4.0);
        EXPECT_LT(perChannel, 2.0) << name;  // redrawn alike: under 1; one redrawn alone: 4 and more
    }
}
