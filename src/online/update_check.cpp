// Reading the update answer and deciding what the user is told.
#include "online/update_check.h"

#include "common/public_funs.h"
#include "online/answer_ini.h"
#include "online/http_fetch.h"
#include "platform/ini_file.h"

int CurrentBuild() {
    TVSFixedFileInfo record;
    GetFileVersionRecord(ProgramPath(), record);
    return static_cast<int>(record.dwFileVersionLS & 0xFFFF);
}

TUpdateAnswer ParseUpdateAnswer(std::string_view text, int currentBuild, const std::string& defaultGetUrl) {
    TUpdateAnswer answer;
    answer.NewBuild = currentBuild;
    if (text.empty()) return answer;
    const TIniDocument ini = ParseAnswerIni(text);
    int build = 0;
    if (auto raw = ini.FindRaw("VerInfo", "build"); raw && TryParseIniInteger(*raw, build)) answer.NewBuild = build;
    answer.NewInfo = ini.KeyNames("NewInfo");
    // The page is handed to the desktop's opener: only a web address from
    // the network may reach it, never a local file or another scheme.
    const std::string getUrl = ini.Read("VerInfo", "NewGetUrl", "");
    answer.NewGetUrl = IsWebAddress(getUrl) ? getUrl : defaultGetUrl;
    return answer;
}

TUpdateVerdict DecideUpdate(int newBuild, int currentBuild, bool silent) {
    if (newBuild > currentBuild) return TUpdateVerdict::OfferUpdate;
    return silent ? TUpdateVerdict::Nothing : TUpdateVerdict::ReportLatest;
}

TUpdatePrompt UpdatePromptFor(TUpdateVerdict verdict) {
    TUpdatePrompt prompt;
    switch (verdict) {
        case TUpdateVerdict::OfferUpdate:
            prompt.TextKey = "NewVer";
            prompt.TextDefault = "A new version is available! Do you want upgrade it now?";
            prompt.Buttons = 3;
            break;
        case TUpdateVerdict::ReportLatest:
            prompt.TextKey = "NoNewVer";
            prompt.TextDefault = "The version you are using is the latest one.";
            prompt.Buttons = 4;
            break;
        case TUpdateVerdict::Nothing: break;
    }
    return prompt;
}
