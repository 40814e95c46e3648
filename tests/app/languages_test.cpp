// The start-up language lasts beyond the run that matched it.
#include <gtest/gtest.h>

#include "app/languages.h"
#include "app/program_entry.h"
#include "common/public_funs.h"
#include "platform/folders.h"
#include "platform/text_codec.h"
#include "store/remind_file.h"
#include "support/test_support.h"

using testing_support::TTempDir;
using testing_support::WriteFileBytes;

TEST(LanguageChoiceTest, TheMatchedLanguageIsStoredAndLastsToTheNextStart) {
    TTempDir dir;
    const std::string languages = dir / "Languages/";
    const std::string dataFolder = dir / "data/Olvo_Reminder/";
    ForceDirectories(languages);
    WriteFileBytes(languages + "German.ini",
                   EncodeText("[Translation]\r\nLangCode=0407\r\n", TTextEncoding::Utf16LeBom));
    AppDataPath = dir / "data/";
    std::string chosen = ChooseLanguageFrom(dataFolder, languages, 0x0407);
    ASSERT_EQ(chosen, "German");
    OpenReminderStore(chosen).reset();  // destruction saves the configuration
    EXPECT_EQ(AppDataPath, dataFolder);
    // A later start on a machine whose interface language matches nothing.
    EXPECT_EQ(ChooseLanguageFrom(dataFolder, languages, 0x0411), "German");
}
