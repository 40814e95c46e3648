// The update check's answer and what it means, without any thread or window:
// the server's answer text ("update/ormverinfo.htm", INI) read into a
// TUpdateAnswer, and the decision which message, if any, the user sees.
//
// Answer:  [VerInfo] build=<integer>  NewGetUrl=<download page>
//          [NewInfo] <any keys: their names are collected, nothing is shown>
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TUpdateAnswer {
    int NewBuild = 0;                  // the build the server offers
    std::vector<std::string> NewInfo;  // key names of [NewInfo]
    std::string NewGetUrl;             // download page to open on "Yes"
};

// The running program's build number (the fourth version number).
int CurrentBuild();

// Reads an answer. An empty text is no answer: NewBuild stays currentBuild
// and NewGetUrl stays empty. Otherwise a missing or unreadable build keeps
// currentBuild, and a missing NewGetUrl, or one that is not a web address,
// gives defaultGetUrl (the download page on our server).
TUpdateAnswer ParseUpdateAnswer(std::string_view text, int currentBuild, const std::string& defaultGetUrl);

enum class TUpdateVerdict {
    OfferUpdate,    // a newer build: ask whether to open the download page
    ReportLatest,   // asked by the user, nothing newer (or no answer)
    Nothing,        // an automatic check that found nothing newer
};

TUpdateVerdict DecideUpdate(int newBuild, int currentBuild, bool silent);

// The message box a verdict asks for: caption and text looked up by section
// and key, with the defaults used when no language file has them.
struct TUpdatePrompt {
    const char* CaptionSection = "Translation";
    const char* CaptionKey = "Confirm";
    const char* CaptionDefault = "Confirmation";
    const char* TextSection = "Messages";
    const char* TextKey = "";
    const char* TextDefault = "";
    int Buttons = 0;  // 3: Yes and No; 4: OK (the message box's button sets)
};

// The prompt for OfferUpdate or ReportLatest (Nothing shows no prompt: an
// empty TextKey).
TUpdatePrompt UpdatePromptFor(TUpdateVerdict verdict);
