// The profile file on disk: a save killed mid-way leaves the old or the new file whole, a failed
// save keeps the old file, a file that does not read completely is moved aside (never over an
// earlier one) and what was read written at once, a full disk leaves it where it was, a file that
// cannot be read or is too large is moved aside as it is, one that cannot be kept aside (every
// number taken) stays and what is played is found at the next start, profiles saved beside the file that are not read are kept
// aside rather than removed, what the game does not read of a file gets a line and costs nothing
// else, and a quick save written by one process is resumed by another.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "engine/core/CodePage.h"
#include "engine/core/XMLShape.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/Profil.h"
#include "game/app/SolVariant.h"
#include "game/cards/Statistik.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/app/ProfileFixture.h"
#include "tests/game/cards/RunningGameTable.h"
#include "tests/support/FifoInPlace.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestSupport.h"

namespace {

using Orvex::XMLNode;
using Solitaire::Profil;

class ProfileFileTest : public apptest::ProfileFixture {};

using testsupport::withRoom;

TEST_F(ProfileFileTest, ASaveKilledMidWayLeavesTheOldOrTheNewFileWhole) {
    std::filesystem::path const path = useFile("killed");
    auto* profile = new Profil(L"Dauerläufer");
    profiles().addProfile(profile);
    // Large enough that a save takes a while: many tutorials seen.
    for (int i = 0; i < 4000; ++i) profile->markTutorialSeen(L"TUTORIAL_" + std::to_wstring(i));
    ASSERT_TRUE(profiles().saveProfiles());
    for (int delay : {5, 40, 90, 170}) {
        SCOPED_TRACE(delay);
        pid_t const child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i) {
                profile->setPoints(static_cast<float>(i % 2));
                profiles().saveProfiles();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        XMLNode read;
        ASSERT_EQ(read.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
        std::wstring const points = read.getChild(L"PROFIL")->getAttributeString(L"POINTS", L"");
        EXPECT_TRUE(points == L"0" || points == L"1") << apptest::narrow(points);
        EXPECT_EQ(read.getChild(L"PROFIL")->getChild(L"TUTORIAL")->getValueCount(), 4000u);
    }
}

TEST_F(ProfileFileTest, AFailedSaveLogsAndKeepsTheOldFile) {
    std::filesystem::path const path = useFile("failing", "utf16_names.prf");
    std::string const before = testsupport::readFile(path);
    ASSERT_TRUE(profiles().loadProfiles());
    profiles().getProfile(0)->setPoints(1.0f);
    logtest::LogWatch watch;
    // No room for the file beside it.
    withRoom(1, [&] { EXPECT_FALSE(profiles().saveProfiles()); });
    EXPECT_EQ(watch.errors().size(), 1u);
    EXPECT_EQ(testsupport::readFile(path), before);
    EXPECT_EQ(testsupport::savesLeftBeside(path), std::vector<std::string>{});
}

TEST_F(ProfileFileTest, AFileThatDoesNotReadCompletelyIsMovedAsideAndTheProfilesReadAreWrittenAtOnce) {
    std::filesystem::path const path = useFile("damaged", "truncated.prf");
    std::string const damaged = testsupport::readFile(path);
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    // What was read before the damage stays loaded, and is on disk already.
    ASSERT_EQ(profiles().getProfileCount(), 1);
    EXPECT_EQ(profiles().getProfile(0)->getName(), L"Jörg Größe");
    EXPECT_TRUE(profiles().getProfile(0)->isUnlocked(L"GOD0"));
    EXPECT_EQ(testsupport::readFile(path.string() + ".bad1"), damaged);
    XMLNode read;
    ASSERT_EQ(read.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
    ASSERT_EQ(read.getChildCount(L"PROFIL"), 1u);
    EXPECT_EQ(read.getChild(L"PROFIL")->getAttributeString(L"NAME", L""), L"Jörg Größe");
    bool named = false;
    for (auto const& line : watch.errors()) named = named || logtest::contains(line, L"profile.prf.bad1");
    EXPECT_TRUE(named);
    // A second damaged file goes beside the first.
    testsupport::writeFile(path, damaged);
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(testsupport::readFile(path.string() + ".bad1"), damaged);
    EXPECT_EQ(testsupport::readFile(path.string() + ".bad2"), damaged);
    // An empty file holds nothing to keep.
    testsupport::writeFile(path, "");
    EXPECT_FALSE(profiles().loadProfiles());
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".bad3"));
}

// With every ".bad" number taken, the damaged file is not kept aside: no kept file is replaced, the
// file stays where it was, no save replaces it and saves go beside it; once a number is free the
// next save moves it there, and the file saved beside it takes its name.
TEST_F(ProfileFileTest, NoKeptCopyIsReplacedAndTheDamagedFileStaysWhileNoneCanBeMade) {
    std::filesystem::path const path = useFile("all_kept", "truncated.prf");
    std::string const damaged = testsupport::readFile(path);
    for (int i = 1; i <= Solitaire::ProfilManager::kMaxKeptAside; ++i)
        testsupport::writeFile(path.string() + ".bad" + std::to_string(i), "kept " + std::to_string(i));
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(profiles().getProfileCount(), 1);
    std::vector<std::wstring> const errors = watch.errors();
    ASSERT_FALSE(errors.empty());
    EXPECT_TRUE(logtest::contains(errors.back(), L"are all taken")) << apptest::narrow(errors.back());
    EXPECT_TRUE(logtest::contains(errors.back(), L"it stays as it is")) << apptest::narrow(errors.back());
    EXPECT_TRUE(profiles().saveProfiles());
    EXPECT_EQ(testsupport::readFile(path), damaged);
    EXPECT_EQ(testsupport::readFile(path.string() + ".bad1000"), "kept 1000");
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".bad1001"));
    // The next start reads what was saved beside it.
    profiles().getProfile(0)->setPoints(42.0f);
    EXPECT_TRUE(profiles().saveProfiles());
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(profiles().getProfile(0)->getPoints(), 42.0f);
    EXPECT_EQ(testsupport::readFile(path), damaged);
    std::filesystem::remove(path.string() + ".bad500");
    EXPECT_TRUE(profiles().saveProfiles());
    EXPECT_EQ(testsupport::readFile(path.string() + ".bad500"), damaged);
    XMLNode read;
    EXPECT_EQ(read.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
}

// A full disk (the file size limit of the process): the profiles cannot be written beside the
// damaged file, with room for a copy of it or without, so it is not moved: it stays in place and
// unwritten, and the log says so.
TEST_F(ProfileFileTest, OnAFullDiskTheDamagedFileStaysWhereItWasAndTheLogSaysSo) {
    // Cut short: the profile element is never closed. The profiles are written as UTF-16, twice
    // the size of these 8-bit bytes.
    std::string const damaged = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"5\">";
    struct {
        char const* what;
        rlim_t limit;
        bool copied;
        wchar_t const* line;
    } const cases[] = {
        {"no room for a copy", damaged.size() - 1, false, L"it stays as it is, and the profiles could not be saved beside it"},
        {"room for a copy only", damaged.size() + 1, false, L"it stays as it is, and the profiles could not be saved beside it"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const path = useFile(std::string("full_") + (c.copied ? "copy" : "none"));
        testsupport::writeFile(path, damaged);
        logtest::LogWatch watch;
        bool loaded = false, saved = false;
        withRoom(c.limit, [&] {
            loaded = profiles().loadProfiles();
            saved = profiles().saveProfiles();
        });
        EXPECT_TRUE(loaded);
        EXPECT_FALSE(saved);
        ASSERT_EQ(profiles().getProfileCount(), 1);
        EXPECT_EQ(testsupport::readFile(path), damaged);
        EXPECT_EQ(std::filesystem::exists(path.string() + ".bad1"), c.copied);
        if (c.copied) EXPECT_EQ(testsupport::readFile(path.string() + ".bad1"), damaged);
        EXPECT_EQ(testsupport::savesLeftBeside(path), std::vector<std::string>{});
        EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
        bool said = false;
        for (auto const& line : watch.errors()) said = said || logtest::contains(line, c.line);
        EXPECT_TRUE(said);
    }
}

// A file that does not read is moved aside as it is (which needs neither reading nor room, and no
// copy is made), and what is played after is found at the next start: an unreadable file (the log
// says which, not "damaged"; a FIFO is never opened, so the start does not wait on it), a damaged
// one without room for its copy, and one larger than a profile file may be (refused unread).
// Where nothing can be written at all the file stays and each save says it kept nothing (the game
// tells the player).
TEST_F(ProfileFileTest, AFileThatDoesNotReadIsMovedAsideAndWhatIsPlayedIsFoundAtTheNextStart) {
    // Cut short, then blanks: its copy needs more room than the profiles saved.
    std::string const damaged = "<PROFILE><PROFIL NAME=\"Anna\">" + std::string(32768, ' ');
    struct {
        char const* what;
        int original;  // 0 a folder, 1 a link to itself, 2 the damaged file, 3 a FIFO, 4 too large
        rlim_t room;   // the largest file the process may write (0: no limit)
        wchar_t const* line;
        char const* keptAs;  // the original's name afterwards
    } const cases[] = {
        {"a folder in its place", 0, 0, L"\" cannot be read (Is a directory); it is moved to", ".bad1"},
        {"a link that cannot be followed", 1, 0,
         L"\" cannot be opened (Too many levels of symbolic links); it is moved to", ".bad1"},
        {"no room for its copy", 2, 16384, L"\" does not read completely; it is moved to", ".bad1"},
        {"no room at all", 2, 64, L"the profiles could not be saved beside it", ""},
        {"a FIFO in its place", 3, 0, L"\" cannot be read (a FIFO, not a regular file); it is moved to", ".bad1"},
        {"too large", 4, 0, L"\" is 268435457 bytes, more than the 268435456 such a file may have; it is moved to", ".bad1"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const path = useFile(std::string("not_copied_") + std::to_string(&c - cases));
        if (c.original == 0) testsupport::writeFile(path / "inside", "kept");
        if (c.original == 1) std::filesystem::create_symlink("profile.prf", path);
        if (c.original == 2) testsupport::writeFile(path, damaged);
        if (c.original == 4) {
            testsupport::writeFile(path, damaged);
            std::filesystem::resize_file(path, Solitaire::ProfilManager::kMaxFileBytes + 1);
        }
        std::unique_ptr<testsupport::FifoInPlace> fifo;
        if (c.original == 3) fifo = std::make_unique<testsupport::FifoInPlace>(path);
        struct : sigslot::has_slots<> {
            int count = 0;
            void add() { ++count; }
        } failed;
        profiles().saveFailed.connect(&failed, &decltype(failed)::add);
        logtest::LogWatch watch;
        bool saved = false;
        withRoom(c.room, [&] {
            profiles().loadProfiles();
            auto* played = new Profil(L"Berta");
            played->setPoints(42.0f);
            profiles().addProfile(played);
            saved = profiles().saveProfiles();
        });
        bool const kept = *c.keptAs != '\0';
        EXPECT_EQ(saved, kept);
        EXPECT_EQ(failed.count, kept ? 0 : 2) << "the start's save and the player's";
        std::wstring const said = watch.errors().empty() ? L"" : watch.errors().back();
        EXPECT_TRUE(logtest::contains(said, c.line)) << apptest::narrow(said);
        EXPECT_EQ(logtest::contains(said, L"does not read completely"), c.original == 2);
        std::filesystem::path const original = path.string() + c.keptAs;
        if (c.original == 0) EXPECT_EQ(testsupport::readFile(original / "inside"), "kept");
        if (c.original == 1) EXPECT_EQ(std::filesystem::read_symlink(original), "profile.prf");
        if (c.original == 2) EXPECT_EQ(testsupport::readFile(original), damaged);
        if (c.original == 3) EXPECT_TRUE(std::filesystem::is_fifo(original));
        if (c.original == 4) EXPECT_EQ(std::filesystem::file_size(original), Solitaire::ProfilManager::kMaxFileBytes + 1);
        // The next start.
        profiles().loadProfiles();
        Profil const* found = profiles().findProfile(L"Berta");
        EXPECT_EQ(found && found->getPoints() == 42.0f, kept);
        profiles().saveFailed.disconnect(&failed);
    }
}

// A game ended between moving a file aside and giving the profiles saved beside it the file's
// name: the next start reads them, they take the name, and there is nothing to keep aside.
TEST_F(ProfileFileTest, ProfilesSavedBesideAFileMovedAsideAreFoundAtTheNextStart) {
    std::filesystem::path const path = useFile("moved");
    std::string const saved = "<PROFILE ACTIVE_PROFIL=\"Berta\"><PROFIL NAME=\"Berta\" POINTS=\"42\"/></PROFILE>";
    testsupport::writeFile(path.string() + ".new", saved);
    ASSERT_TRUE(profiles().loadProfiles());
    ASSERT_NE(profiles().getActiveProfile(), nullptr);
    EXPECT_EQ(profiles().getActiveProfile()->getPoints(), 42.0f);
    EXPECT_EQ(testsupport::readFile(path), saved);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".new"));
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".bad1"));
}

// Profiles saved beside the file that a start does not read are moved to the next ".bad" number
// with one line naming both, and the save that follows removes nothing: beside a file that reads
// completely (saved before it was written whole), damaged, or something other than a file. Where
// no number is free it stays, and no save removes or replaces it.
TEST_F(ProfileFileTest, ProfilesSavedBesideThatAreNotReadAreKeptAsideNotRemoved) {
    std::string const whole = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"5\"/></PROFILE>";
    std::string const stale = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"3\"/></PROFILE>";
    std::string const cut = "<PROFILE ACTIVE_PROFIL=\"Berta\"><PROFIL NAME=\"Berta\" POINTS=\"7\">";
    std::string const fifo = "<fifo>";
    struct {
        char const* what;
        std::string file;    // "profile.prf"; empty: none
        std::string beside;  // "profile.prf.new"
        wchar_t const* why;  // ends with the file's name: "... reads completely"
        char const* fileKeptAs;
    } const cases[] = {
        {"beside a whole file", whole, stale, L" is not read, as \"", nullptr},
        {"damaged beside a whole file", whole, cut, L" is not read, as \"", nullptr},
        {"a FIFO beside a whole file", whole, fifo, L" is not read, as \"", nullptr},
        {"damaged without a file", "", cut, L" does not read completely", nullptr},
        {"a FIFO without a file", "", fifo, L" cannot be read (a FIFO, not a regular file)", nullptr},
        {"damaged beside a damaged file", cut, cut, L" does not read completely", ".bad2"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const path = useFile(std::string("beside_") + std::to_string(&c - cases));
        std::string const beside = path.string() + ".new";
        if (!c.file.empty()) testsupport::writeFile(path, c.file);
        std::unique_ptr<testsupport::FifoInPlace> made;
        if (c.beside == fifo) made = std::make_unique<testsupport::FifoInPlace>(beside);
        else testsupport::writeFile(beside, c.beside);
        logtest::LogWatch watch;
        profiles().loadProfiles();
        EXPECT_TRUE(profiles().saveProfiles());
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(beside)));
        std::filesystem::path const kept = path.string() + ".bad1";
        if (c.beside == fifo) EXPECT_TRUE(std::filesystem::is_fifo(kept));
        else EXPECT_EQ(testsupport::readFile(kept), c.beside);
        if (c.fileKeptAs) EXPECT_EQ(testsupport::readFile(path.string() + c.fileKeptAs), c.file);
        std::wstring const line = L"ERROR Profiles: \"" + cardstest::hostFile(beside) + L"\"" + c.why;
        std::vector<std::wstring> const errors = watch.errors();
        EXPECT_EQ(std::count_if(errors.begin(), errors.end(),
                                [&](std::wstring const& e) {
                                    return e.rfind(line, 0) == 0 &&
                                           logtest::contains(e, L"; it is kept as \"" + cardstest::hostFile(kept) + L"\"");
                                }),
                  1)
            << apptest::narrow(line);
        XMLNode read;
        EXPECT_EQ(read.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
    }

    // No number free: it stays, whatever is saved.
    std::filesystem::path const path = useFile("beside_all_kept");
    for (int i = 1; i <= Solitaire::ProfilManager::kMaxKeptAside; ++i)
        testsupport::writeFile(path.string() + ".bad" + std::to_string(i), "kept");
    testsupport::writeFile(path, whole);
    testsupport::writeFile(path.string() + ".new", stale);
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"are all taken); it stays as it is, and no save replaces it"))
        << apptest::narrow(watch.errors()[0]);
    profiles().getProfile(0)->setPoints(9.0f);
    EXPECT_TRUE(profiles().saveProfiles());
    EXPECT_EQ(testsupport::readFile(path.string() + ".new"), stale);
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(profiles().getProfile(0)->getPoints(), 9.0f);
}

// A file the game reads is written so that the next start reads it again, with the profiles
// around the one that was too large: one named by text as long as the tree's budget (a 255 MB
// name took 4.7 GB and was saved as 535 MB, which the next start refused: no profile at all) is
// read without its name, the file kept aside whole; data nested deep that the game does not read
// (once kept, and written with a thousand tabs a line, 282 MB) is left out, the file kept aside
// whole. After the start, a save and the next start, "Anna" (active, before it) and "Berta" (after
// it) are there, and so is the highscore written after every profile.
TEST_F(ProfileFileTest, AFileTheGameReadsIsWrittenSoThatTheNextStartReadsIt) {
    std::string const head =
        "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"125\"><UNLOCKS>\"|GOD0|\"</UNLOCKS></PROFIL>";
    std::string const tail =
        "<PROFIL NAME=\"Berta\" POINTS=\"7\"/><HIGHSCORES><VARIANT_HIGHSCORES CAT_NAME=\"KLASSIKER\" "
        "GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\"><HIGHSCORE NAME=\"Anna\" SCORE=\"900\"/></VARIANT_HIGHSCORES>"
        "</HIGHSCORES></PROFILE>";
    // Leaves 1,004 levels down; at a tab a level each of 140,000 took 2 KB of UTF-16.
    constexpr int kChain = 1000;
    std::string deep;
    for (int i = 0; i < kChain; ++i) deep += "<N>";
    for (int i = 0; i < 140000; ++i) deep += "<A/>";
    for (int i = 0; i < kChain; ++i) deep += "</N>";
    struct {
        char const* what;
        std::string middle;
        wchar_t const* cut;  // said by the first line, the second says where the file is kept
        wchar_t const* why;
    } const cases[] = {
        {"a name as long as the tree's budget",
         "<PROFIL NAME=\"" + std::string(XMLNode::kMaxTreeBytes / sizeof(wchar_t), 'x') + "\" POINTS=\"3\"/>",
         L"may hold", L"does not read completely; it is moved to"},
        {"data nested deep", "<PROFIL NAME=\"Tief\"><PROFILE_DATA>" + deep + "</PROFILE_DATA></PROFIL>",
         L"what the game does not keep in a profile is left out: 1 elements", L"holds more than the game keeps of a profile"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const path = useFile(std::string("read_written_") + std::to_string(&c - cases));
        std::string const original = head + c.middle + tail;
        testsupport::writeFile(path, original);
        {
            logtest::LogWatch watch;
            ASSERT_TRUE(profiles().loadProfiles());
            ASSERT_EQ(profiles().getProfileCount(), 3);
            ASSERT_TRUE(std::filesystem::exists(path.string() + ".bad1"));
            EXPECT_TRUE(testsupport::readFile(path.string() + ".bad1") == original) << "kept whole";
            ASSERT_EQ(watch.errors().size(), 2u) << "the cut, and where the file is kept";
            EXPECT_TRUE(logtest::contains(watch.errors()[0], c.cut)) << apptest::narrow(watch.errors()[0]);
            EXPECT_TRUE(logtest::contains(watch.errors()[1], c.why)) << apptest::narrow(watch.errors()[1]);
            EXPECT_LT(profiles().getProfile(1)->getName().size(), 100u);
            ASSERT_TRUE(profiles().saveProfiles());
        }
        EXPECT_LT(std::filesystem::file_size(path), std::uintmax_t{16} << 20);
        // The next start.
        logtest::LogWatch watch;
        ASSERT_TRUE(profiles().loadProfiles());
        EXPECT_TRUE(watch.errors().empty()) << apptest::narrow(watch.errors().empty() ? L"" : watch.errors()[0]);
        Profil const* anna = profiles().findProfile(L"Anna");
        ASSERT_NE(anna, nullptr);
        EXPECT_EQ(profiles().getActiveProfile(), anna);
        EXPECT_EQ(anna->getPoints(), 125.0f);
        EXPECT_TRUE(anna->isUnlocked(L"GOD0"));
        EXPECT_NE(profiles().findProfile(L"Berta"), nullptr);
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KLASSIKER", L"SPINNE", L"SPINNE"));
        EXPECT_EQ(catalogue().getCurrentVariant()->getHighscores().size(), 1u);
    }
}

// Every profile the game reads it can save again, with room for a new one: a profile keeps a name
// as long as a player can type, what the game reads of its stored data, and no more than what the
// file leaves it beside the highscores, as the game writes them. Before, a second profile
// named by 31 MB was written back at 65 MB, 8 MB of empty elements in its data filled the read's
// budget so that every save was refused (and a profile made then was lost), and so was a save
// that grew a file read whole near the budget, one after the quick saves of a single profile that
// filled the read (kept whole, alone or first), one after profiles of 80 MB beside a hundred
// highscores of long names in every variant (written with their scores, dates and statistics,
// 55 MB), and one after campaign levels without results (79 MB of a read) that were written with
// them (146 MB). The file that had more is kept aside whole; after a new profile, a save and the
// next start, every profile read is there with what it keeps. A level or chapter whose number is
// no count is dropped, not taken for number 0: the real level 0 after it keeps its stars.
TEST_F(ProfileFileTest, EveryProfileReadIsSavedAgainWithRoomForMore) {
    std::string const anna =
        "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"125\"><UNLOCKS>\"|GOD0|\"</UNLOCKS>"
        "<PROFILE_DATA><VARIANT_DATA CAT_NAME=\"KLASSIKER\" GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\">"
        "<STATISTIK NAME=\"VAR_STATS\" WON=\"3\"/></VARIANT_DATA></PROFILE_DATA></PROFIL>";
    std::string const bertaAlone = "<PROFIL NAME=\"Berta\" POINTS=\"7\"/><HIGHSCORES>";
    std::string const spinne = "<VARIANT_HIGHSCORES CAT_NAME=\"KLASSIKER\" GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\">"
                               "<HIGHSCORE NAME=\"Anna\" SCORE=\"900\"/>";
    std::string const berta = bertaAlone + spinne + "</VARIANT_HIGHSCORES></HIGHSCORES></PROFILE>";
    // A hundred highscores of names and game names of 256 characters in every variant, below
    // Anna's 900 in "SPINNE", each written with its score, date and every counter of its statistics
    // (35 MB of a read, 55 MB written).
    std::string full = bertaAlone;
    std::string const entry = "<HIGHSCORE NAME=\"" + std::string(Orvex::XMLShape::kMaxText, 'h') + "\" GAME_NAME=\"" +
                              std::string(Orvex::XMLShape::kMaxText, 'g') + "\"><STATISTIK/></HIGHSCORE>";
    for (Solitaire::SolCategorie const* category : catalogue().getCategories())
        for (Solitaire::SolSolitaire const* game : category->getGames())
            for (Solitaire::SolVariant const* variant : game->getVariants()) {
                std::string head = "<VARIANT_HIGHSCORES CAT_NAME=\"" + apptest::narrow(category->getName()) +
                                   "\" GAME_NAME=\"" + apptest::narrow(game->getName()) + "\" VAR_NAME=\"" +
                                   apptest::narrow(variant->getName()) + "\">";
                full += head == spinne.substr(0, head.size()) ? spinne : head;
                for (int i = 0; i < 100; ++i) full += entry;
                full += "</VARIANT_HIGHSCORES>";
            }
    full += "</HIGHSCORES></PROFILE>";
    std::string empties;
    for (int i = 0; i < 100000; ++i) empties += "<A/>";
    // Profiles "Voll0", "Voll1" ... of lists of the longest names a profile keeps, 16 MB of a read
    // each, as many as take `bytes` of a read, or bring the file within 1 KB of what a read takes:
    // read whole, and before, written again only as long as it did not grow.
    auto fillRead = [&](std::string const& head, std::string const& tail, std::size_t bytes = 0) {
        std::string const ends = head + tail;
        XMLNode around;
        EXPECT_TRUE(around.loadFromText(std::wstring(ends.begin(), ends.end())));
        std::size_t taken = XMLNode::savedCost(around);
        std::size_t const target = bytes > 0 ? taken + bytes : XMLNode::kMaxTreeBytes - 1024;
        std::size_t const value = XMLNode::valueCost(Orvex::XMLShape::kMaxText);
        std::string const name = "\"|" + std::string(Orvex::XMLShape::kMaxText, 'n') + "|\"";
        std::string profiles;
        for (int profile = 0; taken < target; ++profile) {
            std::string const profileName = "Voll" + std::to_string(profile);
            taken += XMLNode::elementCost(std::strlen("PROFIL")) + XMLNode::attributeCost(std::strlen("NAME"), profileName.size());
            profiles += "<PROFIL NAME=\"" + profileName + "\">";
            for (char const* list : {"TUTORIAL", "SOLITAIRE_TUTORIALS", "STORY", "UNLOCKS"}) {
                if (taken + XMLNode::elementCost(std::strlen(list)) + value > target) break;
                taken += XMLNode::elementCost(std::strlen(list));
                profiles += std::string("<") + list + ">";
                for (std::size_t i = 0; i < Profil::kMaxListEntries && taken + value <= target; ++i, taken += value)
                    profiles += name;
                profiles += std::string("</") + list + ">";
            }
            profiles += "</PROFIL>";
        }
        return head + profiles + tail;
    };
    // The quick saves of a profile "Voll" of cards without attributes, the most a read charges for
    // a byte of the file, past what a read takes.
    std::string saves = "<PROFIL NAME=\"Voll\"><PROFILE_DATA>";
    std::string const cards = [] {
        std::string out;
        for (int i = 0; i < 1024; ++i) out += "<KARTE/>";
        return out;
    }();
    for (std::size_t taken = 0; taken <= XMLNode::kMaxTreeBytes; taken += 1024 * XMLNode::elementCost(5))
        saves += "<VARIANT_DATA CAT_NAME=\"K\" GAME_NAME=\"G\" VAR_NAME=\"V\"><QUICK_SAVE>" + cards + "</QUICK_SAVE></VARIANT_DATA>";
    saves += "</PROFILE_DATA></PROFIL>";
    // A campaign of 420 chapters of 1,024 levels without results or found counts, which are
    // written with them: 79 MB of a read, 146 MB written.
    std::string levels = "<PROFIL NAME=\"Stufen\"><KAMPAGNE>";
    for (int chapter = 0; chapter < 420; ++chapter) {
        levels += "<KAPITEL KAPITEL=\"" + std::to_string(chapter) + "\" RESULT=\"1\">";
        for (std::size_t level = 0; level < Profil::kMaxLevels; ++level) levels += "<LEVEL LEVEL=\"" + std::to_string(level) + "\"/>";
        levels += "</KAPITEL>";
    }
    levels += "</KAMPAGNE></PROFIL>";
    wchar_t const* const more = L"holds more than the game keeps of a profile";
    struct {
        char const* what;
        std::string original;
        std::wstring kept;    // a profile it reads
        wchar_t const* line;  // a line of the load says what was left out
        wchar_t const* why;   // the last line says why the file is kept aside (null: it is not)
        bool whole = true;    // Anna before it and Berta after it are read
        int levelZero = -1;   // the kept profile's result of chapter 0's level 0 (-1: none)
    } const cases[] = {
        {"a name longer than a player can type", anna + "<PROFIL NAME=\"" + std::string(100000, 'x') + "\" POINTS=\"3\"/>" + berta,
         std::wstring(Profil::kMaxNameLength, L'x'), L"the name is longer than the 20 characters a player can type", more},
        {"stored data the game does not read",
         anna + "<PROFIL NAME=\"Lang\"><PROFILE_DATA>" + empties +
             "<VARIANT_DATA CAT_NAME=\"KLASSIKER\" GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\" X=\"1\"><QUICK_SAVE/>"
             "</VARIANT_DATA></PROFILE_DATA></PROFIL>" + berta,
         L"Lang", L"is left out: 100001 elements, attributes or values", more},
        {"a file read whole within 1 KB of what a read takes", fillRead(anna, berta), L"Voll0",
         L"or past its share of what the profiles of a file keep", more},
        {"quick saves of one profile past what a read takes", "<PROFILE ACTIVE_PROFIL=\"Voll\">" + saves + "</PROFILE>",
         L"Voll", L"or past its share of what the profiles of a file keep", L"does not read completely", false},
        {"quick saves past what a read takes before other profiles", "<PROFILE ACTIVE_PROFIL=\"Anna\">" + saves +
             anna.substr(std::strlen("<PROFILE ACTIVE_PROFIL=\"Anna\">")) + berta,
         L"Voll", L"or past its share of what the profiles of a file keep", L"does not read completely", false},
        {"profiles of 80 MB beside a hundred highscores of long names in every variant",
         fillRead(anna, full, std::size_t{80} << 20), L"Voll0",
         L"has more than 100 highscores; the best are kept", L"holds more highscores than the game keeps"},
        {"levels without results, written with them", anna + levels + berta, L"Stufen",
         L"or past its share of what the profiles of a file keep", more},
        {"a level whose number is no count before level 0",
         anna + "<PROFIL NAME=\"Lang\"><KAMPAGNE><KAPITEL KAPITEL=\"0\" RESULT=\"1\"><LEVEL LEVEL=\"-5\" RESULT=\"1\"/>"
                "<LEVEL LEVEL=\"0\" RESULT=\"4\"/></KAPITEL></KAMPAGNE></PROFIL>" + berta,
         L"Lang", L"\"LEVEL\" \"-5\" is no campaign number; dropped", nullptr, true, 4},
        {"a chapter whose number is no count before chapter 0",
         anna + "<PROFIL NAME=\"Lang\"><KAMPAGNE><KAPITEL KAPITEL=\"-5\" RESULT=\"2\"/><KAPITEL KAPITEL=\"0\" RESULT=\"1\">"
                "<LEVEL LEVEL=\"0\" RESULT=\"4\"/></KAPITEL></KAMPAGNE></PROFIL>" + berta,
         L"Lang", L"\"KAPITEL\" \"-5\" is no campaign number; dropped", nullptr, true, 4},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const path = useFile(std::string("room_") + std::to_string(&c - cases));
        testsupport::writeFile(path, c.original);
        {
            logtest::LogWatch watch;
            ASSERT_TRUE(profiles().loadProfiles());
            EXPECT_NE(profiles().findProfile(c.kept), nullptr);
            std::vector<std::wstring> const errors = watch.errors();
            EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [&](std::wstring const& e) { return logtest::contains(e, c.line); }));
            ASSERT_FALSE(errors.empty());
            EXPECT_EQ(logtest::contains(errors.back(), c.why ? c.why : L"is moved to"), c.why != nullptr)
                << apptest::narrow(errors.back());
            if (c.why) EXPECT_TRUE(testsupport::readFile(path.string() + ".bad1") == c.original) << "kept whole";
            for (std::wstring const& e : errors) EXPECT_LT(e.size(), 1000u) << "a line quotes no more than a piece";
        }
        // Made and chosen as the new-profile dialog makes and chooses it.
        auto* ben = new Profil(L"Ben");
        profiles().addProfile(ben);
        profiles().setActiveProfile(ben);
        ASSERT_TRUE(profiles().saveProfiles()) << (profiles().saveWasTooLarge() ? "too large" : "not written");
        int const count = profiles().getProfileCount();
        // The next start.
        logtest::LogWatch watch;
        ASSERT_TRUE(profiles().loadProfiles());
        EXPECT_TRUE(watch.errors().empty()) << apptest::narrow(watch.errors().empty() ? L"" : watch.errors()[0]);
        EXPECT_FALSE(std::filesystem::exists(path.string() + (c.why ? ".bad2" : ".bad1")));
        EXPECT_EQ(profiles().getProfileCount(), count);
        for (wchar_t const* name : {L"Ben", c.kept.c_str()}) ASSERT_NE(profiles().findProfile(name), nullptr);
        if (c.levelZero >= 0) {
            Solitaire::ChapterRecord* chapter = profiles().findProfile(c.kept)->findChapter(0);
            ASSERT_NE(chapter, nullptr);
            Solitaire::LevelRecord const* level = Profil::findLevel(*chapter, 0);
            ASSERT_NE(level, nullptr);
            EXPECT_EQ(level->result, c.levelZero);
        }
        if (!c.whole) continue;
        for (wchar_t const* name : {L"Anna", L"Berta"}) ASSERT_NE(profiles().findProfile(name), nullptr);
        EXPECT_EQ(profiles().findProfile(L"Berta")->getPoints(), 7.0f) << "a small profile keeps all, wherever it stands";
        EXPECT_EQ(profiles().getActiveProfile(), profiles().findProfile(L"Ben"));
        Profil* anna = profiles().findProfile(L"Anna");
        EXPECT_TRUE(anna->isUnlocked(L"GOD0"));
        anna->activate();
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KLASSIKER", L"SPINNE", L"SPINNE"));
        ASSERT_NE(catalogue().getCurrentVariant()->getStatistik(), nullptr);
        EXPECT_EQ(catalogue().getCurrentVariant()->getStatistik()->get(Solitaire::StatistikCounter::Won), 3u);
        std::vector<Solitaire::HighscoreEintrag*> const& scores = catalogue().getCurrentVariant()->getHighscores();
        ASSERT_FALSE(scores.empty());
        EXPECT_LE(scores.size(), Solitaire::SolitaireManager::kMaxReadHighscores);
        EXPECT_EQ(scores.front()->getName(), L"Anna");
        EXPECT_EQ(scores.front()->getScore(), 900.0f);
        EXPECT_EQ(profiles().findProfile(c.kept)->getProfileData().getChildCount(), c.kept == L"Lang" && c.levelZero < 0 ? 1u : 0u);
    }
}

// What a file keeps, shared: all while it fits; else the highscores past a variant's best five
// give way before any profile's records, taken in their order as long as they fit into half of
// what the profiles kept whole leave; where the profiles alone would take more, none of them is
// kept and the profiles share half.
// Before, every highscore read was charged first: 146 variants of a hundred highscores of names
// of 256 emoji cut every one of 202 profiles to 7 of its 21 chapters.
TEST(ProfileShares, HighscoresPastAVariantsBestFiveGiveWayBeforeAnyProfile) {
    using Solitaire::ProfilManager;
    struct {
        char const* what;
        std::vector<std::size_t> further, wishes;
        std::size_t keptFurther;
        std::vector<std::size_t> shares;
    } const rows[] = {
        {"all fit", {10, 10}, {30, 40}, 2, {30, 40}},
        {"the further highscores give way", {10, 20, 10}, {30, 40}, 1, {30, 40}},
        {"in their order", {25, 10}, {30, 40}, 0, {30, 40}},
        {"profiles past what is left share half", {1}, {80, 40}, 0, {25, 25}},
        {"a small one keeps all", {}, {10, 200}, 0, {10, 40}},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        ProfilManager::Shares const shares = ProfilManager::share(100, row.further, row.wishes);
        EXPECT_EQ(shares.furtherHighscores, row.keptFurther);
        EXPECT_EQ(shares.profiles, row.shares);
    }
}

// One file's faults give a few lines and a count, not a line each: refused counters in 200
// highscores (one line, the highscores'), in the active profile's data for every variant (one
// line when it becomes live), refused values in twenty profiles (a line for each of the first
// four, one for the rest). Before, every statistics set and every profile wrote its own line: a
// file of refused counters in 14,600 highscores wrote 14,600 lines.
TEST_F(ProfileFileTest, OneFilesFaultsGiveAFewLinesAndACount) {
    std::string highscores, variantData, refusing;
    int listed = 0;
    for (Solitaire::SolCategorie const* category : catalogue().getCategories())
        for (Solitaire::SolSolitaire const* game : category->getGames())
            for (Solitaire::SolVariant const* variant : game->getVariants()) {
                std::string const names = "CAT_NAME=\"" + apptest::narrow(category->getName()) + "\" GAME_NAME=\"" +
                                          apptest::narrow(game->getName()) + "\" VAR_NAME=\"" +
                                          apptest::narrow(variant->getName()) + "\"";
                if (listed++ < 2) {
                    highscores += "<VARIANT_HIGHSCORES " + names + ">";
                    for (int i = 0; i < 100; ++i) highscores += "<HIGHSCORE NAME=\"h\"><STATISTIK CLICK=\"x\"/></HIGHSCORE>";
                    highscores += "</VARIANT_HIGHSCORES>";
                }
                variantData += "<VARIANT_DATA " + names + "><STATISTIK WON=\"-1\"/></VARIANT_DATA>";
            }
    for (int i = 0; i < 20; ++i) refusing += "<PROFIL NAME=\"P" + std::to_string(i) + "\" POINTS=\"x\"/>";
    struct {
        char const* what;
        std::string file;
        std::size_t lines;
    } const rows[] = {
        {"refused counters in two hundred highscores", "<PROFILE><HIGHSCORES>" + highscores + "</HIGHSCORES></PROFILE>", 1},
        {"refused counters in every variant's data",
         "<PROFILE ACTIVE_PROFIL=\"A\"><PROFIL NAME=\"A\"><PROFILE_DATA>" + variantData + "</PROFILE_DATA></PROFIL></PROFILE>", 1},
        {"refused values in twenty profiles", "<PROFILE>" + refusing + "</PROFILE>", Solitaire::ProfilManager::kLoggedProfiles + 1},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::writeFile(useFile(std::string("faults_") + std::to_string(&row - rows)), row.file);
        logtest::LogWatch watch;
        ASSERT_TRUE(profiles().loadProfiles());
        if (Profil* active = profiles().getActiveProfile()) active->activate();
        EXPECT_EQ(watch.errors().size(), row.lines);
    }
}

// An element the game does not read, at the file's root beside the profiles and the highscores
// or among the highscores, and an entry of the active profile's achievements that names no
// achievement, each get one line when the file is read and the profile made live (with a count
// and the first one's name and line, however many there are), and cost nothing else: the file
// reads whole, and the game saves what it saves of the file without them. Before, each was
// dropped with no line.
TEST_F(ProfileFileTest, WhatTheGameDoesNotReadOfAFileGetsALine) {
    Solitaire::SolCategorie const* category = catalogue().getCategories().front();
    Solitaire::SolSolitaire const* game = category->getGames().front();
    std::string const names = "CAT_NAME=\"" + apptest::narrow(category->getName()) + "\" GAME_NAME=\"" +
                              apptest::narrow(game->getName()) + "\" VAR_NAME=\"" +
                              apptest::narrow(game->getVariants().front()->getName()) + "\"";
    auto repeat = [](std::string const& piece, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += piece;
        return text;
    };
    // What each line says it left out.
    std::wstring const beside = L" elements beside the profiles and highscores that the game does not read";
    std::wstring const among = L" elements among the highscores that the game does not read";
    std::wstring const entries = L" achievement entries that name no achievement of the game";
    std::string const unknownEntry = "<ACHIVEMENT NAME=\"NIRGENDS\" VALUE=\"1\" UNLOCKED=\"0\"/>";
    // The pieces go at the start of lines 4 (achievements), 5 (root), 6 (highscores), 7 (a
    // variant's list) and 8 (an entry), or of line 9 (the root, after the highscores); the line
    // says "left out: <count><kind> (the first <first>)".
    struct Row {
        char const* what;
        std::string achievements, root, highscores, variant, entry, after;
        std::size_t count;
        std::wstring kind, first;
    } const rows[] = {
        {"an unknown element at the root", "", "<FOO/>", "", "", "", "", 1, beside, L"\"FOO\" at line 5"},
        {"a thousand unknown elements at the root", "", repeat("<FOO/>", 1000), "", "", "", "", 1000, beside,
         L"\"FOO\" at line 5"},
        {"a second highscores element", "", "", "", "", "", "<HIGHSCORES/>", 1, beside, L"\"HIGHSCORES\" at line 9"},
        {"an unknown element among the highscores", "", "", "<BAR/>", "", "", "", 1, among, L"\"BAR\" at line 6"},
        {"an unknown element in a variant's list", "", "", "", "<BAR/>", "", "", 1, among, L"\"BAR\" at line 7"},
        {"unknown elements in an entry", "", "", "", "", "<BAR/><BAZ/>", "", 2, among, L"\"BAR\" at line 8"},
        {"names of 60 characters", "", "", "", "", repeat("<B" + std::string(59, 'x') + "/>", 3), "", 3, among,
         L"\"B" + std::wstring(47, L'x') + L"...\" (60 characters) at line 8"},
        {"unknown elements at every level of the highscores", "", "", repeat("<BAR/>", 500), repeat("<BAZ/>", 500),
         repeat("<QUX/>", 500), "", 1500, among, L"\"BAR\" at line 6"},
        {"an unknown achievement", unknownEntry, "", "", "", "", "", 1, entries, L"\"NIRGENDS\" at line 4"},
        {"an achievement entry without a name", "<ACHIVEMENT VALUE=\"1\"/>", "", "", "", "", "", 1, entries,
         L"\"\" at line 4"},
        {"a thousand unknown achievements", repeat(unknownEntry, 1000), "", "", "", "", "", 1000, entries,
         L"\"NIRGENDS\" at line 4"},
    };
    auto fileOf = [&](Row const& row) {
        return "<PROFILE ACTIVE_PROFIL=\"Anna\">\n<PROFIL NAME=\"Anna\"><ACHIVEMENT_DATA>\n"
               "<ACHIVEMENT NAME=\"KARTEN_MOVED\" VALUE=\"3\" UNLOCKED=\"0\"/>\n" +
               row.achievements + "</ACHIVEMENT_DATA></PROFIL>\n" + row.root + "<HIGHSCORES>\n" + row.highscores +
               "<VARIANT_HIGHSCORES " + names + ">\n" + row.variant +
               "<HIGHSCORE NAME=\"Anna\" GAME_NAME=\"7\" SCORE=\"10\" DATE=\"1 2 3 4 2009\">\n" + row.entry +
               "</HIGHSCORE></VARIANT_HIGHSCORES></HIGHSCORES>\n" + row.after + "</PROFILE>";
    };
    // What the game's start reads and saves of a file.
    auto readAndSave = [&](std::filesystem::path const& path, std::string const& text) {
        testsupport::writeFile(path, text);
        EXPECT_TRUE(profiles().loadProfiles());
        EXPECT_TRUE(profiles().readWhole());
        if (Profil* active = profiles().getActiveProfile()) active->activate();
        EXPECT_TRUE(profiles().saveProfiles());
        return testsupport::readFile(path);
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::path const path = useFile("unread_" + std::to_string(&row - rows));
        std::string const without = readAndSave(path, fileOf(Row{}));
        logtest::LogWatch watch;
        std::string const with = readAndSave(path, fileOf(row));
        std::vector<std::wstring> const errors = watch.errors();
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(with, without);
        if (errors.empty()) continue;
        std::wstring const said =
            L"left out: " + std::to_wstring(row.count) + row.kind + L" (the first " + row.first + L")";
        EXPECT_TRUE(logtest::contains(errors[0], said) && logtest::contains(errors[0], L"profile.prf"))
            << apptest::narrow(errors[0]);
    }
}

// Every record of every profile as a load read it, as the game would write it (nothing is live
// after a load).
std::vector<std::wstring> recordsRead() {
    std::vector<std::wstring> records;
    for (int i = 0; i < Solitaire::ProfilManager::instance().getProfileCount(); ++i) {
        XMLNode written(Profil::kElementName);
        Solitaire::ProfilManager::instance().getProfile(i)->writeXML(written);
        records.push_back(written.toText());
    }
    return records;
}

// The index of the first profile whose records differ, or -1.
int firstDiffering(std::vector<std::wstring> const& a, std::vector<std::wstring> const& b) {
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) return static_cast<int>(i);
    return -1;
}

// A file the game wrote of "Anna" (active) and "Berta", each with points, a tutorial seen, an unlock,
// chapter 0's level 0 passed with two stars, or with every level of every chapter passed with three.
std::string gameWrittenFile(std::filesystem::path const& path, bool everyChapter) {
    std::string profilesText;
    for (char const* name : {"Anna", "Berta"})
        profilesText += std::string("<PROFIL NAME=\"") + name +
                        "\" POINTS=\"7\"><TUTORIAL SHOW=\"1\">\"|HAUPTMENU|\"</TUTORIAL><KAMPAGNE><KAPITEL KAPITEL=\"0\" "
                        "RESULT=\"1\"><LEVEL LEVEL=\"0\" RESULT=\"3\" STARS_FOUND=\"2\"/></KAPITEL></KAMPAGNE><UNLOCKS>"
                        "\"|GOD0|\"</UNLOCKS></PROFIL>";
    testsupport::writeFile(path, "<PROFILE ACTIVE_PROFIL=\"Anna\">" + profilesText + "</PROFILE>");
    Solitaire::ProfilManager& list = Solitaire::ProfilManager::instance();
    EXPECT_TRUE(list.loadProfiles());
    list.buildAllCampaignTables();
    for (int i = 0; everyChapter && i < list.getProfileCount(); ++i)
        for (Solitaire::ChapterRecord& chapter : list.getProfile(i)->getCampaign()) {
            chapter.result = 2;
            for (Solitaire::LevelRecord& level : chapter.levels) level.result = 4;
        }
    list.getActiveProfile()->activate();
    EXPECT_TRUE(list.saveProfiles());
    list.clear();
    return testsupport::readFile(path);
}

// A piece the game refuses for what it is, added to a file the game wrote (an unknown element, an
// unlock longer than a text may be, a level whose number does not read), costs only that piece:
// every record of every profile reads as in the file without it, one line names it. So in the
// active profile and another, with one chapter passed and with all of them. Before, a profile
// that held such a piece was kept to its share less what the game adds although it held it:
// "Berta" with an unknown element lost her points, her tutorial seen and her passed level, "Anna"
// her passed level and unlocks, a profile with every chapter passed four levels of the last.
TEST_F(ProfileFileTest, APieceTheGameRefusesCostsOnlyThatPiece) {
    struct Piece {
        char const* what;
        wchar_t const* line;
        void (*add)(XMLNode& profile);
    } const pieces[] = {
        {"an unknown element", L"left out: 1 elements", [](XMLNode& profile) { profile.addChild(L"FOO"); }},
        {"an unlock of 300 characters", L"left out: 1 elements",
         [](XMLNode& profile) { profile.getChild(L"UNLOCKS")->addValue(std::wstring(300, L'u')); }},
        {"a level whose number does not read", L"\"LEVEL\" \"x\" is no campaign number; dropped",
         [](XMLNode& profile) {
             profile.getChild(L"KAMPAGNE")->getChild(L"KAPITEL")->addChild(L"LEVEL")->setAttribute(L"LEVEL", L"x");
         }},
    };
    for (bool const everyChapter : {false, true}) {
        std::string const written = gameWrittenFile(useFile(std::string("piece_written_") + (everyChapter ? "all" : "one")), everyChapter);
        for (wchar_t const* owner : {L"Anna", L"Berta"})
            for (Piece const& piece : pieces) {
                SCOPED_TRACE(std::string(piece.what) + " in " + apptest::narrow(owner) + (everyChapter ? ", every chapter passed" : ""));
                std::filesystem::path const path = useFile("piece_" + std::to_string(&piece - pieces));
                testsupport::writeFile(path, written);
                ASSERT_TRUE(profiles().loadProfiles());
                ASSERT_TRUE(profiles().readWhole());
                std::vector<std::wstring> const without = recordsRead();
                XMLNode tree;
                ASSERT_EQ(tree.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
                XMLNode* profile = tree.getChild(Profil::kElementName, owner == std::wstring(L"Anna") ? 0 : 1);
                ASSERT_EQ(profile->getAttributeString(L"NAME", L""), owner);
                piece.add(*profile);
                ASSERT_TRUE(tree.save(cardstest::hostFile(path), true));
                logtest::LogWatch watch;
                ASSERT_TRUE(profiles().loadProfiles());
                std::vector<std::wstring> const errors = watch.errors();
                EXPECT_TRUE(std::any_of(errors.begin(), errors.end(), [&](std::wstring const& e) { return logtest::contains(e, piece.line); }))
                    << (errors.empty() ? "no line" : apptest::narrow(errors.front()));
                std::vector<std::wstring> const with = recordsRead();
                int const differing = firstDiffering(with, without);
                EXPECT_EQ(differing, -1) << (differing >= 0 && static_cast<std::size_t>(differing) < with.size()
                                                 ? apptest::narrow(with[static_cast<std::size_t>(differing)]).substr(0, 600)
                                                 : "");
            }
    }
}

// A text's limit counts its characters in every encoding, so a text kept at one read is kept at
// every later one: an unlock of 129, 256 or 257 characters outside the Basic Multilingual Plane
// (two UTF-16 units each) or of 256 "ü", in a UTF-8, a UTF-16 or an 8-bit file, is kept when it has
// at most 256 characters, and the game's save (UTF-16) reads again as it was read, with no line.
// Before, a UTF-8 file's unlock of 129 emoji was read whole and the save's 258 units were refused
// at the next start, costing the profile its records.
TEST_F(ProfileFileTest, ATextCountsAlikeInEveryEncoding) {
    std::wstring const emoji(1, wchar_t(0x1F600));
    auto repeat = [](std::wstring const& text, int count) {
        std::wstring out;
        for (int i = 0; i < count; ++i) out += text;
        return out;
    };
    enum Encoding { kUtf8, kUtf16, kEightBit };
    struct {
        char const* what;
        std::wstring unlock;
        Encoding encoding;
        bool kept;
    } const rows[] = {
        {"129 emoji, UTF-8", repeat(emoji, 129), kUtf8, true},
        {"129 emoji, UTF-16", repeat(emoji, 129), kUtf16, true},
        {"256 emoji, UTF-8", repeat(emoji, 256), kUtf8, true},
        {"256 emoji, UTF-16", repeat(emoji, 256), kUtf16, true},
        {"257 emoji, UTF-8", repeat(emoji, 257), kUtf8, false},
        {"257 emoji, UTF-16", repeat(emoji, 257), kUtf16, false},
        {"256 \"ü\", 8-bit", std::wstring(256, L'\u00FC'), kEightBit, true},
        {"257 \"ü\", 8-bit", std::wstring(257, L'\u00FC'), kEightBit, false},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::path const path = useFile("encoding_" + std::to_string(&row - rows));
        std::wstring const text = L"<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\" POINTS=\"5\"><KAMPAGNE><KAPITEL KAPITEL=\"0\" "
                                  L"RESULT=\"1\"><LEVEL LEVEL=\"0\" RESULT=\"4\"/></KAPITEL></KAMPAGNE><UNLOCKS>\"|GOD0|\" \"|" +
                                  row.unlock + L"|\"</UNLOCKS></PROFIL></PROFILE>";
        std::string bytes;
        if (row.encoding == kUtf8) bytes = "\xEF\xBB\xBF" + port::toUtf8(text);
        if (row.encoding == kUtf16) {
            bytes = "\xFF\xFE";
            Orvex::appendUtf16LE(bytes, text);
        }
        if (row.encoding == kEightBit)
            for (wchar_t c : text) bytes += static_cast<char>(c);
        testsupport::writeFile(path, bytes);
        for (char const* start : {"the first start", "the start after the game's save"}) {
            SCOPED_TRACE(start);
            logtest::LogWatch watch;
            ASSERT_TRUE(profiles().loadProfiles());
            Profil* anna = profiles().findProfile(L"Anna");
            ASSERT_NE(anna, nullptr);
            EXPECT_EQ(anna->isUnlocked(row.unlock), row.kept);
            EXPECT_TRUE(anna->isUnlocked(L"GOD0"));
            EXPECT_EQ(anna->getPoints(), 5.0f);
            ASSERT_NE(anna->findChapter(0), nullptr);
            EXPECT_EQ(anna->getCampaign().front().levels.front().result, 4);
            if (start == std::string("the first start")) {
                EXPECT_EQ(watch.errors().empty(), row.kept);
            } else {
                EXPECT_TRUE(watch.errors().empty()) << apptest::narrow(watch.errors().empty() ? L"" : watch.errors()[0]);
                EXPECT_TRUE(profiles().readWhole());
            }
            profiles().buildAllCampaignTables();
            anna->activate();
            ASSERT_TRUE(profiles().saveProfiles());
        }
    }
}

// A profile switch keeps a file whole: what a profile is charged at the read covers what the game
// writes of it whichever profile is made active, at the start or on the profile screen (its
// statistics with every counter, its variants' statistics and its achievements written anew from
// the managers). Each profile of a file, made active after the start as the profile screen makes
// it, is written no larger than it was charged, and the next start charges it no more. Before,
// only the profile the file named active was charged so: a file read whole near what a file
// keeps grew by some kilobytes when another profile was chosen, and the next start cut it.
TEST_F(ProfileFileTest, AProfileChosenAfterTheStartIsWrittenWithinWhatItWasCharged) {
    std::wstring const data =
        L"<PROFILE_DATA><VARIANT_DATA CAT_NAME=\"KLASSIKER\" GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\"><STATISTIK WON=\"3\"/>"
        L"</VARIANT_DATA></PROFILE_DATA><STATISTIK><STATISTIK CLICK=\"1\"/></STATISTIK>";
    struct {
        char const* what;
        std::wstring second;  // the profile chosen after the start
    } const rows[] = {
        {"a name alone", L"<PROFIL NAME=\"Berta\"/>"},
        {"statistics held", L"<PROFIL NAME=\"Berta\">" + data + L"</PROFIL>"},
        {"achievements held", L"<PROFIL NAME=\"Berta\"><ACHIVEMENT_DATA><ACHIVEMENT NAME=\"KARTEN_MOVED\" VALUE=\"2\"/>"
                              L"</ACHIVEMENT_DATA></PROFIL>"},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::path const path = useFile("switch_" + std::to_string(&row - rows));
        std::wstring const text = L"<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"/>" + row.second + L"</PROFILE>";
        testsupport::writeFile(path, port::toUtf8(text));
        ASSERT_TRUE(profiles().loadProfiles());
        XMLNode read;
        ASSERT_TRUE(read.loadFromText(row.second));
        std::size_t const charged = Profil::measure(read).bytes;
        profiles().buildAllCampaignTables();
        Profil* anna = profiles().findProfile(L"Anna");
        Profil* berta = profiles().findProfile(L"Berta");
        anna->activate();
        // As the profile screen chooses a profile (SolitaireGame2::onActiveProfileChanged).
        anna->collectLiveData();
        berta->activate();
        profiles().setActiveProfile(berta);
        ASSERT_TRUE(profiles().saveProfiles());
        XMLNode saved;
        ASSERT_EQ(saved.loadChecked(cardstest::hostFile(path), 1), XMLNode::ReadResult::kComplete);
        XMLNode const* written = saved.getChild(Profil::kElementName, 1);
        ASSERT_NE(written, nullptr);
        EXPECT_LE(XMLNode::savedCost(*written), charged);
        EXPECT_LE(Profil::measure(*written).bytes, charged);
    }
}

// ---- A quick save across processes ----
// The parent runs this test program twice with the step in the environment: one process deals,
// plays, quick-saves and writes the profiles, the next loads them and resumes. Each writes the
// table it ends with beside the profile file.

std::string describeTable() {
    std::ostringstream out;
    for (cardtest::CardPlace const& place : cardtest::snapshotTable())
        out << place.pile << ' ' << apptest::narrow(place.arrangement) << ' ' << place.place << ' ' << place.faceUp << ' '
            << place.wildcard << place.joker << '\n';
    Solitaire::Kartenmanager const& cards = Solitaire::Kartenmanager::instance();
    out << cards.getScorePlus() << ' ' << cards.getTime() << '\n';
    return out.str();
}

class QuickSaveProcess : public apptest::ProfileFixture {
protected:
    static char const* step() { return std::getenv("APPTEST_QUICKSAVE_STEP"); }
    static std::filesystem::path file() { return std::getenv("APPTEST_QUICKSAVE_FILE"); }
    void startGolf(wchar_t const* seed) {
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KNOBELEIEN", L"GOLFPLATZ", L"GOLFPLATZ"));
        ASSERT_TRUE(catalogue().startVariant());
        manager().startGame(nullptr, seed, true, {}, {}, 0.0f);
    }
};

TEST_F(QuickSaveProcess, Step) {
    if (!step()) GTEST_SKIP() << "run by QuickSaveAcrossProcesses";
    profiles().setFilePath(cardstest::hostFile(file()));
    if (std::string(step()) == "write") {
        auto* player = new Profil(L"Spieler");
        profiles().addProfile(player);
        player->activate();
        startGolf(L"11");
        for (int i : {0, 4, 8, 30}) manager().cards[static_cast<std::size_t>(i)]->setFaceUp(true, 0.0f, 0.0f);
        manager().setScore(321.5f, manager().getScoreMinus());
        manager().setTime(75.5f);
        manager().saveUndoState();
        ASSERT_TRUE(catalogue().writeQuickSave());
        ASSERT_TRUE(profiles().saveProfiles());
        testsupport::writeFile(file().string() + ".written", describeTable());
    } else {
        ASSERT_TRUE(profiles().loadProfiles());
        EXPECT_FALSE(std::filesystem::exists(file().string() + ".bad1")) << "the game keeps all it writes";
        ASSERT_TRUE(profiles().getActiveProfile());
        profiles().getActiveProfile()->activate();
        startGolf(L"12");
        std::string const fresh = describeTable();
        ASSERT_TRUE(catalogue().resumeQuickSave());
        std::string const resumed = describeTable();
        EXPECT_NE(resumed, fresh);
        ASSERT_TRUE(catalogue().resumeQuickSave());
        EXPECT_EQ(describeTable(), resumed);
        testsupport::writeFile(file().string() + ".resumed", resumed);
    }
}

TEST_F(ProfileFileTest, AQuickSaveWrittenByOneProcessResumesInTheNext) {
    std::filesystem::path const path = useFile("across");
    for (char const* stepName : {"write", "resume"}) {
        std::string const command = std::string(testsupport::kUnsharded) + "APPTEST_QUICKSAVE_STEP=" +
                                    std::string(stepName) + " APPTEST_QUICKSAVE_FILE='" + path.string() + "' /proc/" +
                                    std::to_string(getpid()) + "/exe --gtest_filter=QuickSaveProcess.Step > '" +
                                    path.string() + "." + stepName + ".log' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << testsupport::readFile(path.string() + "." + stepName + ".log");
    }
    std::string const written = testsupport::readFile(path.string() + ".written");
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(testsupport::readFile(path.string() + ".resumed"), written);
}

}  // namespace
