// Several running copies sharing one profile file: each copy is a separate process
// (profile_window.exe) with its own current store, driven through its standard input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_fixture.h"
#include "profiles/profile_store.h"
#include "test_support.h"
#include "window_copy.h"

typedef ProfileFolder ProfileCopies;

// A file with profiles P and Q, written before the copies start.
static void write_p_and_q() {
    std::unique_ptr<ProfileStore> store = new_store();
    append_profile(store.get(), make_profile(L"P", L"C:\\p1"));
    append_profile(store.get(), make_profile(L"Q", L"C:\\q1"));
    ASSERT_TRUE(profile_store_write(store.get()));
}

static std::string file_contents() {
    std::unique_ptr<ProfileStore> store = new_store();
    if (!profile_store_load(store.get())) return "(unreadable)";
    return describe(*store);
}

TEST_F(ProfileCopies, SaveOrDeleteOfAProfileChangedInAnotherCopyIsRefused) {
    write_p_and_q();
    WindowCopy a, b;
    ASSERT_TRUE(start_copy(&a));
    ASSERT_TRUE(start_copy(&b));
    ASSERT_EQ("true 2", ask(&a, "load"));
    ASSERT_EQ("true 2", ask(&b, "load"));

    ASSERT_EQ("OK", ask(&a, "save P P C:\\p2"));
    const std::vector<unsigned char> after_a = store_bytes();
    EXPECT_EQ("CHANGED_ELSEWHERE", ask(&b, "save P P C:\\p3"));
    EXPECT_EQ("CHANGED_ELSEWHERE", ask(&b, "save P Renamed C:\\p3")) << "a renaming too";
    EXPECT_EQ("CHANGED_ELSEWHERE", ask(&b, "delete P"));
    EXPECT_TRUE(after_a == store_bytes()) << "the other copy's changes are not written";
    EXPECT_EQ("P=C:\\p1,Q=C:\\q1", ask(&b, "show")) << "the refused copy's store is unchanged";

    // A deletion or renaming in one copy is a change of the profile for the other too.
    ASSERT_EQ("OK", ask(&a, "save Q Q2 C:\\q1"));
    EXPECT_EQ("CHANGED_ELSEWHERE", ask(&b, "save Q Q C:\\q3"));
    EXPECT_EQ("P=C:\\p2,Q2=C:\\q1", file_contents());

    // Selected again (reloaded), the profile is saved normally.
    ASSERT_EQ("true 2", ask(&b, "load"));
    EXPECT_EQ("OK", ask(&b, "save P P C:\\p3"));
    EXPECT_EQ("CHANGED_ELSEWHERE", ask(&a, "delete P"));
    EXPECT_EQ("P=C:\\p3,Q2=C:\\q1", file_contents());
}

TEST_F(ProfileCopies, ChangeToAnotherProfileIsNoConflictAndReachesTheOtherCopy) {
    write_p_and_q();
    WindowCopy a, b;
    ASSERT_TRUE(start_copy(&a));
    ASSERT_TRUE(start_copy(&b));
    ASSERT_EQ("true 2", ask(&a, "load"));
    ASSERT_EQ("true 2", ask(&b, "load"));

    ASSERT_EQ("OK", ask(&a, "save Q Q C:\\q2"));
    ASSERT_EQ("OK", ask(&a, "save - R C:\\r1"));
    EXPECT_EQ("OK", ask(&b, "save P P C:\\p2"));
    EXPECT_EQ("P=C:\\p2,Q=C:\\q2,R=C:\\r1", ask(&b, "show")) << "the other copy's changes are shown";
    EXPECT_EQ("P=C:\\p2,Q=C:\\q2,R=C:\\r1", file_contents());

    // A deletion of another profile is no conflict either.
    ASSERT_EQ("OK", ask(&a, "delete R"));
    EXPECT_EQ("OK", ask(&b, "delete P"));
    EXPECT_EQ("Q=C:\\q2", ask(&b, "show"));
    EXPECT_EQ("Q=C:\\q2", file_contents());
}

TEST_F(ProfileCopies, SameNameInOtherCaseCreatedInTwoCopies) {
    WindowCopy a, b;
    ASSERT_TRUE(start_copy(&a));
    ASSERT_TRUE(start_copy(&b));
    ASSERT_EQ("true 0", ask(&a, "load")) << "no file yet";
    ASSERT_EQ("true 0", ask(&b, "load"));

    ASSERT_EQ("OK", ask(&a, "save - Photos C:\\a"));
    EXPECT_EQ(8 + PROFILE_RECORD_SIZE, store_bytes().size());
    const std::vector<unsigned char> after_a = store_bytes();
    EXPECT_EQ("NAME_TAKEN", ask(&b, "save - photos C:\\b"));
    EXPECT_TRUE(after_a == store_bytes());
    EXPECT_EQ("", ask(&b, "show"));

    ASSERT_EQ("OK", ask(&b, "save - Zdjęcia C:\\b"));
    EXPECT_EQ("NAME_TAKEN", ask(&a, "save - ZDJĘCIA C:\\a"));
    EXPECT_EQ("Photos=C:\\a,Zdjęcia=C:\\b", file_contents());
}

TEST_F(ProfileCopies, LockHeldByAnotherCopyFailsTheUpdateAtOnce) {
    write_p_and_q();
    const std::vector<unsigned char> before = store_bytes();
    WindowCopy holder;
    ASSERT_TRUE(start_copy(&holder));
    ASSERT_EQ("held", ask(&holder, "hold"));
    EXPECT_TRUE(lock_exists());

    std::unique_ptr<ProfileStore> current = new_store();
    ASSERT_TRUE(profile_store_load(current.get()));
    Profile changed = make_profile(L"P", L"C:\\p2");
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), 0, &changed));
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), 1, nullptr));
    EXPECT_LT(GetTickCount64() - start, 1000u) << "no waiting for the lock";
    EXPECT_TRUE(before == store_bytes());
    EXPECT_EQ("P=C:\\p1,Q=C:\\q1", describe(*current));

    // A third copy is refused too; once the holder lets go, the update goes through.
    WindowCopy other;
    ASSERT_TRUE(start_copy(&other));
    ASSERT_EQ("true 2", ask(&other, "load"));
    EXPECT_EQ("FAILED", ask(&other, "save P P C:\\p3"));
    ASSERT_EQ("released", ask(&holder, "release"));
    EXPECT_FALSE(lock_exists());
    EXPECT_EQ(PROFILE_UPDATE_OK, profile_store_update(current.get(), 0, &changed));
    EXPECT_EQ("P=C:\\p2,Q=C:\\q1", file_contents());
}

TEST_F(ProfileCopies, CopyKilledWhileHoldingTheLockLeavesNoLock) {
    write_p_and_q();
    WindowCopy holder;
    ASSERT_TRUE(start_copy(&holder));
    ASSERT_EQ("held", ask(&holder, "hold"));
    ASSERT_TRUE(lock_exists());

    ASSERT_TRUE(TerminateProcess(holder.child.process, 9));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(holder.child.process, 10000));
    // The system closes the dead process's handles, and with the last one the file goes.
    for (ULONGLONG until = GetTickCount64() + 5000; lock_exists() && GetTickCount64() < until;) Sleep(10);
    EXPECT_FALSE(lock_exists());

    std::unique_ptr<ProfileStore> current = new_store();
    ASSERT_TRUE(profile_store_load(current.get()));
    Profile changed = make_profile(L"P", L"C:\\p2");
    EXPECT_EQ(PROFILE_UPDATE_OK, profile_store_update(current.get(), 0, &changed));
    EXPECT_EQ("P=C:\\p2,Q=C:\\q1", file_contents());
}

// Copies add, change and delete their own profiles at the same time while this process reads the
// file in a loop. An update fails while another copy holds the lock, and also when the file is
// being read at the moment of its replacement (the system does not replace an open file), so the
// copies retry every failed update. Every change a copy saw succeed is in the final file, and no
// read ever finds a torn or damaged file.
TEST_F(ProfileCopies, ConcurrentCopiesLoseNoUpdateAndReadersNeverSeeATornFile) {
    const int COPIES = 4, ROUNDS = 12;
    std::unique_ptr<ProfileStore> seed = new_store();
    append_profile(seed.get(), make_profile(L"seed", L"C:\\seed"));
    ASSERT_TRUE(profile_store_write(seed.get()));

    std::vector<WindowCopy> copies(COPIES);
    for (int k = 0; k < COPIES; ++k) {
        ASSERT_TRUE(start_copy(&copies[k]));
        ASSERT_EQ("true 1", ask(&copies[k], "load"));
    }
    for (int k = 0; k < COPIES; ++k)
        ASSERT_TRUE(send_line(&copies[k], "stress " + std::to_string(k) + " " + std::to_string(ROUNDS)));

    std::vector<std::string> answers(COPIES);
    int finished = 0, reads = 0, bad_reads = 0;
    std::unique_ptr<ProfileStore> seen = new_store();
    for (ULONGLONG until = GetTickCount64() + 240000; finished < COPIES && GetTickCount64() < until;) {
        ++reads;
        bool loaded = profile_store_load(seen.get());
        if (!loaded || seen->count == 0 || wcscmp(seen->profiles[0].name, L"seed") != 0) {
            if (++bad_reads <= 5) ADD_FAILURE() << "read " << reads << ": " << (loaded ? describe(*seen) : "refused");
        }
        for (int k = 0; k < COPIES; ++k) {
            if (!answers[k].empty()) continue;
            if (poll_line(&copies[k], &answers[k])) {
                ++finished;
            } else if (WaitForSingleObject(copies[k].child.process, 0) == WAIT_OBJECT_0) {
                answers[k] = "(ended without an answer)";
                ++finished;
            }
        }
    }
    ASSERT_EQ(COPIES, finished) << "every copy finished";
    EXPECT_EQ(0, bad_reads) << "of " << reads << " reads";
    EXPECT_GT(reads, 20) << "the reads ran alongside the writes";

    // Each round saves its profile twice and even rounds delete it again.
    const int expected_ok = ROUNDS * 2 + ROUNDS / 2;
    for (int k = 0; k < COPIES; ++k) {
        SCOPED_TRACE("copy " + std::to_string(k));
        int ok = 0, retries = 0, problems = -1;
        char word[16] = {};
        ASSERT_EQ(4, sscanf(answers[k].c_str(), "%15s %d %d %d", word, &ok, &retries, &problems)) << answers[k];
        EXPECT_STREQ("done", word);
        EXPECT_EQ(expected_ok, ok);
        EXPECT_EQ(0, problems) << "after each update the copy's own profiles were all as it left them";
        printf("copy %d: %d updates, %d retries after PROFILE_UPDATE_FAILED (lock busy or file being read)\n", k, ok,
               retries);
    }
    std::unique_ptr<ProfileStore> final_store = new_store();
    ASSERT_TRUE(profile_store_load(final_store.get()));
    EXPECT_EQ(1u + COPIES * ROUNDS / 2, final_store->count);
    for (int k = 0; k < COPIES; ++k) {
        for (int i = 1; i < ROUNDS; i += 2) {
            std::wstring name = L"c" + std::to_wstring(k) + L"-" + std::to_wstring(i);
            bool found = false;
            for (uint32_t s = 0; s < final_store->count; ++s) {
                if (name == final_store->profiles[s].name) {
                    found = true;
                    EXPECT_EQ(name + L"\\b", std::wstring(final_store->profiles[s].source_folder));
                }
            }
            EXPECT_TRUE(found) << "c" << k << "-" << i;
        }
    }
    EXPECT_FALSE(lock_exists());
    printf("%d reads while the copies wrote\n", reads);
}
