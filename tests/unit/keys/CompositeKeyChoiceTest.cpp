// The key assignment dialog's decisions without widgets: the record built from each tab, opening on each kind of
// record, key capture, macro-only mode, storing, marking and where the dialog opens.
#include "assign/CompositeKeyChoice.h"
#include "assign/DialogPlacement.h"
#include "assign/MacroListModel.h"
#include "keys/KeysTestData.h"

#include <gtest/gtest.h>

#include <functional>

namespace ombrel::test {
namespace {

constexpr KeyIndex kTabIndex = kTab;                   // the edited key in most cases
constexpr KeyIndex kBankBG4 = kFirstGKeyIndex + 9 + 3; // G4 while bank B is active
constexpr KeyCode kLeftSuper = 0x15B;
constexpr KeyCode kPrint = 0x137;
constexpr KeyCode kMute = 0x120;

KeyEvent press(KeyCode key, bool autoRepeat = false) {
    return {key, true, autoRepeat, 0};
}
KeyEvent release(KeyCode key, bool autoRepeat = false) {
    return {key, false, autoRepeat, 0};
}

TEST(CompositeKeyChoiceTest, EachTabBuildsItsRecord) {
    AssignmentStore store;
    store.macros.push_back(MakeMacro(2, u"first", 1, 9));
    store.macros.push_back(MakeMacro(5, u"second", 1, 3));
    MacroListModel macros{u"Macro"};
    macros.load(store);
    macros.select(1);
    const MacroListModel noMacros{u"Macro"};

    using Edit = std::function<void(CompositeKeyChoice&)>;
    struct Case {
        const char* what;
        KeyIndex key;
        KeyRecord opened;
        Edit edit;
        const MacroListModel& list;
        KeyRecord stored;
    };
    auto mouseRow = [](int row) {
        return [row](CompositeKeyChoice& c) {
            c.chooseMouse();
            c.setMouseRow(row);
        };
    };
    const Case cases[] = {
        {"captured key", kTabIndex, {}, [](auto& c) { c.keyEvent(press(kKeyA)); }, macros, {KF_KEY, 0, kKeyA}},
        {"mouse left", kTabIndex, {}, mouseRow(0), macros, {KF_KEY, 0, 0x171}},
        {"mouse right", kTabIndex, {}, mouseRow(1), macros, {KF_KEY, 0, 0x172}},
        {"mouse middle", kTabIndex, {}, mouseRow(2), macros, {KF_KEY, 0, 0x173}},
        {"wheel up", kTabIndex, {}, mouseRow(3), macros, {KF_KEY, 0, 0x161}},
        {"wheel down", kTabIndex, {}, mouseRow(4), macros, {KF_KEY, 0, 0x162}},
        {"itself", kTabIndex, {KF_KEY, 0, kKeyA}, [](auto& c) { c.keyEvent(press(kTab)); }, macros, {}},
        {"no key", kTabIndex, {}, [](auto& c) { c.chooseKeyboard(); }, macros, {}},
        {"cleared", kTabIndex, {KF_KEY, 0, kKeyA}, [](auto& c) { c.clear(); }, macros, {}},
        {"cleared, then keyboard",
         kTabIndex,
         {KF_KEY, 0, kKeyA},
         [](auto& c) {
             c.clear();
             c.chooseKeyboard();
         },
         macros,
         {}},
        {"macro", kTabIndex, {}, [](auto& c) { c.showMacroTab(); }, macros, {KF_MACRO, 3, 5}},
        {"macro without macros", kTabIndex, {}, [](auto& c) { c.showMacroTab(); }, noMacros, {}},
        {"media",
         kTabIndex,
         {},
         [](auto& c) {
             c.showMediaTab();
             c.setMediaRow(7);
         },
         macros,
         {KF_MEDIA, 0, 7}},
        {"function",
         kTabIndex,
         {},
         [](auto& c) {
             c.showFunctionTab();
             c.setFunctionRow(10);
         },
         macros,
         {KF_FUNCTION, 0, 10}},
        {"bank-B G key, media",
         kBankBG4,
         {KF_DEFAULT, 0x1304},
         [](auto& c) {
             c.showMediaTab();
             c.setMediaRow(2);
         },
         macros,
         {KF_MEDIA, 0x1304, 2}},
        {"bank-B G key, cleared",
         kBankBG4,
         {KF_MEDIA, 0x1304, 2},
         [](auto& c) { c.clear(); },
         macros,
         {KF_DEFAULT, 0x1304}},
        {"G key, macro carries its cycles", kBankBG4, {}, [](auto& c) { c.showMacroTab(); }, macros, {KF_MACRO, 3, 5}},
    };
    for (const Case& c : cases) {
        CompositeKeyChoice choice(c.key, false, c.opened);
        c.edit(choice);
        EXPECT_EQ(choice.build(c.list), c.stored) << c.what;
        EXPECT_TRUE(choice.modified()) << c.what;
    }

    // A macro assignment with macros listed but none selected plays the first one.
    macros.select(-1);
    CompositeKeyChoice choice(kTabIndex, false, {});
    choice.showMacroTab();
    EXPECT_EQ(choice.build(macros), (KeyRecord{KF_MACRO, 9, 2}));
}

TEST(CompositeKeyChoiceTest, OpensOnTheTabOfTheRecord) {
    struct Case {
        KeyRecord record;
        CompositeTab tab;
        bool mouse;
        KeyCode captured;
        int row; // mouse, media or function row as the tab shows it
    };
    const Case cases[] = {
        {{KF_DEFAULT}, CompositeTab::SingleKey, false, 0, 0},
        {{KF_KEY, 0, kKeyA}, CompositeTab::SingleKey, false, kKeyA, 0},
        {{KF_KEY, 0, 0x161}, CompositeTab::SingleKey, true, 0x161, 3},
        {{KF_MACRO, 2, 5}, CompositeTab::Macro, false, 0, 0},
        {{KF_MEDIA, 0, 17}, CompositeTab::Media, false, 0, 17},
        {{KF_MEDIA, 0, 18}, CompositeTab::Media, false, 0, 0}, // a damaged value shows the first row
        {{KF_FUNCTION, 0, 4}, CompositeTab::Function, false, 0, 4},
        // Types the dialog does not build: the single-key tab, keyboard chosen, an empty key box.
        {{KF_DISABLED}, CompositeTab::SingleKey, false, 0, 0},
        {{KF_PROGRAM, 0, 0x40}, CompositeTab::SingleKey, false, 0, 0},
        {{KF_STOP_MACRO}, CompositeTab::SingleKey, false, 0, 0},
        {{KF_TEXT, 0, 0x1E}, CompositeTab::SingleKey, false, 0, 0},
    };
    for (const Case& c : cases) {
        const CompositeKeyChoice choice(kTabIndex, false, c.record);
        SCOPED_TRACE(c.record.type);
        EXPECT_EQ(choice.tab(), c.tab);
        EXPECT_EQ(choice.mouseChosen(), c.mouse);
        EXPECT_EQ(choice.capturedKey(), c.captured);
        const int row = c.tab == CompositeTab::Media      ? choice.mediaRow()
                        : c.tab == CompositeTab::Function ? choice.functionRow()
                                                          : choice.mouseRow();
        EXPECT_EQ(row, c.row);
        EXPECT_FALSE(choice.modified());
    }
}

TEST(CompositeKeyChoiceTest, UntouchedRecordsOfOtherTypesAreStoredAgainWithValueZero) {
    for (const std::uint16_t type : {KF_DISABLED, KF_PROGRAM, KF_STOP_MACRO, KF_TEXT}) {
        SCOPED_TRACE(type);
        AssignmentStore store;
        const int n = RecordNumber(1, kTabIndex);
        store.image.setRecord(n, {type, 0, 0x40, 1});
        store.strings.set(n, u"/usr/bin/true");
        const MacroListModel macros{u"Macro"};

        CompositeKeyChoice choice(kTabIndex, false, store.image.record(n));
        StoreAssignment(store, 1, kTabIndex, choice.build(macros), choice.keepsString());
        EXPECT_EQ(store.image.record(n), (KeyRecord{type, 0, 0}));
        // A program path or text survives opening the dialog and pressing OK; nobody chose to drop it.
        EXPECT_EQ(store.strings.empty(n), !HasString(type));

        choice.chooseKeyboard(); // a real choice: the key now gets a key assignment and loses its string
        EXPECT_TRUE(choice.modified());
        EXPECT_FALSE(choice.keepsString());
        StoreAssignment(store, 1, kTabIndex, choice.build(macros), choice.keepsString());
        EXPECT_EQ(store.image.record(n), KeyRecord{}); // no key captured: the factory function
        EXPECT_TRUE(store.strings.empty(n));
    }
}

TEST(CompositeKeyChoiceTest, KeyCaptureTakesFirstPressesAndKeepsDesktopKeys) {
    using R = CompositeKeyChoice::KeyResult;
    struct Step {
        KeyEvent event;
        R result;
        KeyCode captured; // the key box afterwards
    };
    struct Case {
        const char* what;
        bool mouseFirst;
        std::vector<Step> steps;
        bool mouseAfter;
    };
    const Case cases[] = {
        {"held key captured once",
         false,
         {{press(kKeyA), R::Captured, kKeyA},
          {press(kKeyA, true), R::Swallowed, kKeyA},
          {release(kKeyA, true), R::Swallowed, kKeyA},
          {press(kKeyA), R::Swallowed, kKeyA}, // a repeat that the window system did not mark
          {press(kTab), R::Captured, kTab},
          {release(kKeyA), R::Swallowed, kTab}},
         false},
        {"release without its press", false, {{release(kPrint), R::Captured, kPrint}}, false},
        {"media keys and unknown keys pass on",
         false,
         {{press(kMute), R::PassOn, 0}, {press(0), R::PassOn, 0}, {release(kMute), R::PassOn, 0}},
         false},
        {"mouse chosen: ordinary keys kept from the desktop, not captured",
         true,
         {{press(kKeyA), R::Swallowed, 0}, {release(kKeyA), R::Swallowed, 0}},
         true},
        {"mouse chosen: Super captured and the keyboard chosen",
         true,
         {{press(kLeftSuper), R::Captured, kLeftSuper}, {release(kLeftSuper), R::Swallowed, kLeftSuper}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CompositeKeyChoice choice(kTabIndex, false, {});
        if (c.mouseFirst) choice.chooseMouse();
        for (const Step& s : c.steps) {
            EXPECT_EQ(choice.keyEvent(s.event), s.result) << s.event.key;
            EXPECT_EQ(choice.capturedKey(), s.captured) << s.event.key;
        }
        EXPECT_EQ(choice.mouseChosen(), c.mouseAfter);
    }

    // Other tabs keep keys from the desktop but capture nothing.
    CompositeKeyChoice media(kTabIndex, false, {KF_MEDIA, 0, 3});
    EXPECT_EQ(media.keyEvent(press(kKeyA)), R::Swallowed);
    EXPECT_EQ(media.selectedType(), KF_MEDIA);
    EXPECT_FALSE(media.modified());
}

TEST(CompositeKeyChoiceTest, ShowingATabChoosesNothingUntilARowOrKeyIsPicked) {
    const MacroListModel macros{u"Macro"};
    struct Case {
        const char* what;
        KeyRecord opened;
        void (*look)(CompositeKeyChoice&);
    };
    const Case cases[] = {
        {"key, media tab", {KF_KEY, 0, kKeyA}, [](auto& c) { c.showMediaTab(); }},
        {"key, function tab", {KF_KEY, 0, kKeyA}, [](auto& c) { c.showFunctionTab(); }},
        {"factory, media then function tab",
         {},
         [](auto& c) {
             c.showMediaTab();
             c.showFunctionTab();
         }},
        {"media, key tab", {KF_MEDIA, 0, 3}, [](auto& c) { c.showSingleKeyTab(); }},
        {"program, key tab", {KF_PROGRAM, 0, 0x40}, [](auto& c) { c.showSingleKeyTab(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CompositeKeyChoice choice(kTabIndex, false, c.opened);
        const KeyRecord before = choice.build(macros);
        c.look(choice);
        EXPECT_FALSE(choice.modified());
        EXPECT_EQ(choice.build(macros), before);
        if (c.opened.type != KF_MEDIA) {
            EXPECT_EQ(choice.mediaRow(), -1); // the list shows no choice
        }
        EXPECT_EQ(choice.functionRow(), -1);
    }

    // The first row of a list is a choice like any other once it is picked.
    CompositeKeyChoice media(kTabIndex, false, {KF_KEY, 0, kKeyA});
    media.showMediaTab();
    media.setMediaRow(0);
    EXPECT_TRUE(media.modified());
    EXPECT_EQ(media.build(macros), (KeyRecord{KF_MEDIA, 0, 0}));

    // Disabled: the key does nothing; a G key keeps its tag, and Clear brings the factory function back.
    CompositeKeyChoice g(kBankBG4, false, {KF_KEY, 0x1304, kKeyA});
    g.disable();
    EXPECT_TRUE(g.modified());
    EXPECT_EQ(g.tab(), CompositeTab::SingleKey);
    EXPECT_EQ(g.build(macros), (KeyRecord{KF_DISABLED, 0x1304, 0}));
    g.clear();
    EXPECT_EQ(g.build(macros), (KeyRecord{KF_DEFAULT, 0x1304, 0}));
    CompositeKeyChoice ninth(kFirstGKeyIndex + 8, true, {});
    ninth.disable(); // macro-only keys take macros only
    EXPECT_EQ(ninth.selectedType(), KF_MACRO);
}

TEST(CompositeKeyChoiceTest, MacroOnlyModeOffersOnlyMacros) {
    const KeyIndex g9 = kFirstGKeyIndex + 8;
    CompositeKeyChoice choice(g9, true, {KF_KEY, 0x0309, kKeyA});
    EXPECT_EQ(choice.tab(), CompositeTab::Macro);
    choice.showSingleKeyTab();
    choice.showMediaTab();
    choice.showFunctionTab();
    choice.clear();
    choice.chooseMouse();
    EXPECT_EQ(choice.keyEvent(press(kKeyA)), CompositeKeyChoice::KeyResult::Swallowed);
    EXPECT_EQ(choice.selectedType(), KF_MACRO);
    EXPECT_EQ(choice.build(MacroListModel{u"Macro"}), (KeyRecord{KF_DEFAULT, 0x0309}));
}

TEST(CompositeKeyChoiceTest, MacroTabSelectsTheMacroTheKeyPlays) {
    AssignmentStore store;
    for (std::uint16_t id : {3, 7, 8})
        store.macros.push_back(MakeMacro(id, u"m", 0));
    MacroListModel macros{u"Macro"};
    macros.load(store);
    EXPECT_EQ(CompositeKeyChoice(kTabIndex, false, {KF_MACRO, 1, 8}).initialMacroRow(macros), 2);
    EXPECT_EQ(CompositeKeyChoice(kTabIndex, false, {KF_MACRO, 1, 4}).initialMacroRow(macros), 0);
    // A key code is no macro id, even where a macro happens to have that number.
    EXPECT_EQ(CompositeKeyChoice(kTabIndex, false, {KF_KEY, 0, 7}).initialMacroRow(macros), 0);
    EXPECT_EQ(CompositeKeyChoice(kTabIndex, false, {KF_MACRO, 1, 8}).initialMacroRow(MacroListModel{u"M"}), -1);
}

TEST(CompositeKeyChoiceTest, StoresAndMarksInTheGivenProfile) {
    AssignmentStore store;
    InitKeyImage(store.image);
    const int n = RecordNumber(2, kBankBG4);
    EXPECT_EQ(n, 1024 + 256 + 9 + 3);
    store.image.setRecord(n, {KF_TEXT, 0x1304, 0x20});
    store.strings.set(n, u"hello");

    EXPECT_TRUE(ToggleKeyMark(store, 2, kBankBG4));
    EXPECT_EQ(store.image.record(n).mark, 1u);
    StoreAssignment(store, 2, kBankBG4, {KF_MEDIA, 0x1304, 5, 1}, false);
    EXPECT_EQ(store.image.record(n), (KeyRecord{KF_MEDIA, 0x1304, 5, 0}));
    EXPECT_TRUE(store.strings.empty(n));
    EXPECT_EQ(store.strings.stringBytes(), 0u);
    EXPECT_TRUE(ToggleKeyMark(store, 2, kBankBG4));
    EXPECT_FALSE(ToggleKeyMark(store, 2, kBankBG4));
    EXPECT_EQ(store.image.record(RecordNumber(0, kBankBG4)), (KeyRecord{KF_DEFAULT, 0x1304})); // other profiles
}

TEST(DialogPlacementTest, OpensBesideTheKeyWhereThereIsRoom) {
    const ScreenRect screen{0, 0, 1000, 800};
    constexpr int w = 300;
    constexpr int h = 200;
    struct Case {
        const char* what;
        ScreenRect button;
        ScreenPoint at;
    };
    const Case cases[] = {
        {"below right", {100, 100, 150, 150}, {150, 150}},
        {"above right", {100, 650, 150, 700}, {150, 450}},
        {"no room left or right: below right, pulled onto the screen", {250, 650, 720, 700}, {700, 600}},
        {"below left", {800, 100, 850, 150}, {500, 150}},
        {"above left", {800, 650, 850, 700}, {500, 450}},
        {"no room above or below: below right, pulled onto the screen", {800, 150, 850, 700}, {700, 600}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceBesideKey(screen, c.button, w, h), c.at) << c.what;
    // A second screen to the right of the first.
    EXPECT_EQ(PlaceBesideKey({1000, 0, 2000, 800}, {1800, 100, 1850, 150}, w, h), (ScreenPoint{1500, 150}));
    // A dialog larger than the screen keeps its top-left corner on it.
    EXPECT_EQ(PlaceBesideKey(screen, {100, 100, 150, 150}, 1200, 900), (ScreenPoint{0, 0}));
}

} // namespace
} // namespace ombrel::test
