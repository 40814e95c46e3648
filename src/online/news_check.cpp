// Reading the news answer and deciding whether it is shown.
#include "online/news_check.h"

#include "online/answer_ini.h"
#include "online/http_fetch.h"
#include "platform/ini_file.h"

namespace {
int ReadInt(const TIniDocument& ini, std::string_view key, int defaultValue) {
    int value = 0;
    auto raw = ini.FindRaw("Msg", key);
    return raw && TryParseIniInteger(*raw, value) ? value : defaultValue;
}
}  // namespace

TNewsAnswer ParseNewsAnswer(std::string_view text, const std::string& defaultUrl) {
    TNewsAnswer answer;
    if (text.empty()) return answer;
    const TIniDocument ini = ParseAnswerIni(text);
    answer.MsgID = ReadInt(ini, "MsgID", 0);
    answer.ShowAll = ReadInt(ini, "ShowAll", 1) == 1;
    // The page is loaded into the web view: only a web address from the
    // network, never a local file.
    const std::string url = ini.Read("Msg", "Url", "");
    answer.Url = IsWebAddress(url) ? url : defaultUrl;
    answer.FormWidth = ReadInt(ini, "FormWidth", 0);
    answer.FormHeight = ReadInt(ini, "FormHeight", 0);
    return answer;
}

bool IsNewNews(int msgId, int lastSeenId, int shownId) { return msgId > 0 && msgId != lastSeenId && msgId != shownId; }

std::optional<TNewsPageSize> NewsPageSize(int formWidth, int formHeight) {
    auto usable = [](int side) { return side > 0 && side <= MaxNewsPageSide; };
    if (!usable(formWidth) || !usable(formHeight)) return std::nullopt;
    return TNewsPageSize{formWidth, formHeight};
}
