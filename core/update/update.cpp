#include "core/update/update.h"

#include <cstdio>

#include "core/files/file_info.h"
#include "core/registry/registry.h"
#include "core/update/answer_text.h"

namespace tarnwick {
namespace {

struct UpdateTexts {
  TextView language;
  TextView question[3];
  TextView status, yes, no;
};

// Exact language codes; every other code takes the English row (the last).
constexpr UpdateTexts kUpdateTexts[] = {
    {u"ko",
     {u"업데이트 정보가 있습니다.", u"안정적으로 사용하기 위해 업데이트를 하시길 권장합니다.", u"다운로드 받으시겠습니까?"},
     u"업데이트 가능", u"예", u"아니오"},
    {u"ja",
     {u"このプログラムがアップデートされました。", u"安定的に使用するために新しくダウンロード·実行することをお勧めします。",
      u"ダウンロードしますか。"},
     u"アップデート可", u"はい", u"いいえ"},
    {u"zh", {u"该程序已更新。", u"建议下载并执行新程序以稳定使用。", u"您要下载吗？"}, u"可更新", u"是", u"否"},
    {u"de",
     {u"Dieses Programm ist aktualisiert worden.",
      u"Es wird empfohlen, es herunterzuladen und neu auszuführen, um es stabil zu verwenden.",
      u"Möchten Sie es herunterladen?"},
     u"Update möglich", u"Ja", u"Nein"},
    {u"ru",
     {u"Данная программа была обновлена.", u"Рекомендуется скачать и выполнить новое для стабильного использования.",
      u"Вы хотите загрузить ее?"},
     u"Обновление", u"Да", u"Нет"},
    {u"it",
     {u"È disponibile una nuova versione del programma.", u"Ti suggeriamo di scaricare ed aggiornare il programma.",
      u"Vuoi scaricare la nuova versione del programma?"},
     u"Aggiornabile", u"Sì", u"No"},
    {u"fr",
     {u"Ce programme a été mis à jour.",
      u"Il est recommandé de télécharger et d'exécuter la nouvelle version pour une utilisation stable.",
      u"Voulez-vous le télécharger?"},
     u"Maj dispo", u"Oui", u"Non"},
    {u"",
     {u"This program has been updated.", u"It is recommended to download and execute new for stable use.",
      u"Do you want to download it?"},
     u"Update available", u"Yes", u"No"},
};

Text Hex(uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
  return FromUtf8(buffer);
}

Text TwoDigits(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return FromUtf8(buffer);
}

constexpr TextView kMorvessaKey = u"Software\\Morvessa";
constexpr TextView kUidValue = u"MorUID";

}  // namespace

Text UpdateText(UpdateTextKind kind, TextView language) {
  const UpdateTexts* row = &kUpdateTexts[std::size(kUpdateTexts) - 1];
  for (const UpdateTexts& candidate : kUpdateTexts) {
    if (!candidate.language.empty() && candidate.language == language) {
      row = &candidate;
      break;
    }
  }
  switch (kind) {
    case UpdateTextKind::Question:
      return Text(row->question[0]) + u"\r\r" + Text(row->question[1]) + u"\r\r" + Text(row->question[2]);
    case UpdateTextKind::Status: return Text(row->status);
    case UpdateTextKind::Yes: return Text(row->yes);
    case UpdateTextKind::No: return Text(row->no);
  }
  return {};
}

Text GetVersionText(SystemInfo& system, VersionResources& versions) {
  return FileVersionText(versions, system.ProgramPath());
}

Text GenerateUID(Clock& clock, const std::function<uint32_t(uint32_t)>& random) {
  Text uid = Hex(random(0x7FFFFFFF), 8);
  const LocalTime date = clock.LocalNow();
  uid += TwoDigits(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
  uid += Hex(random(0xFFFF), 4);
  const LocalTime time = clock.LocalNow();
  uid += TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second);
  uid += Hex(random(0x7FFFFFFF), 8);
  return uid;
}

Text GetUID(Registry& registry, Clock& clock, const std::function<uint32_t(uint32_t)>& random) {
  auto key = registry.Open(root::kCurrentUser, kMorvessaKey, KeyAccess::ReadWriteCreate);
  if (!key) return {};
  RegistryValue value;
  if (!key->QueryValue(kUidValue, value)) {
    (void)key->SetValue(kUidValue, {reg_type::kSz, RegDataFromText(GenerateUID(clock, random))});
    if (!key->QueryValue(kUidValue, value)) return {};
  }
  // Returned as stored, whatever it holds; text types only.
  if (value.type != reg_type::kSz && value.type != reg_type::kExpandSz) return {};
  return TextFromRegData(value.data);
}

bool RequestAnswer(HttpClient& http, TextView url, const std::vector<HttpHeader>& headers, Text& answer) {
  std::string body;
  if (!http.Get(url, kUserAgent, headers, kMaxAnswerBytes, body)) return false;
  answer = FromUtf8(body);
  return true;
}

UpdateInfo ParseUpdateInfo(TextView answer) {
  const Text info = ExtractBetween(answer, u"\"info\":{", u"}");
  auto member = [&](TextView marker) { return UnescapeJSON(ExtractBetween(info, marker, u"\"")); };
  return {member(u"\"style\":\""), member(u"\"text\":\""), member(u"\"flag\":\""), member(u"\"url\":\"")};
}

UpdateClient::UpdateClient(const Ports& ports, UiThread& uiThread, UpdateUi& ui, const Translator& translator,
                           UpdateTiming timing)
    : ports_(ports), uiThread_(uiThread), ui_(ui), translator_(translator), timing_(timing),
      random_(ports.clock.TickCount()) {}

UpdateClient::~UpdateClient() {
  stop_ = true;
  // A worker may be waiting to hand its answer over: serve it (the stopped client handles
  // nothing) so that it can end.
  if (worker_.joinable()) {
    uiThread_.ServeUntil([this] { return finished_.load(); });
    worker_.join();
  }
  WaitForHoldRequests();
}

uint32_t UpdateClient::Random(uint32_t below) {
  return std::uniform_int_distribution<uint32_t>(0, below - 1)(random_);
}

std::vector<HttpHeader> UpdateClient::RequestHeaders() {
  return {{u"User-Version", GetVersionText(ports_.systemInfo, ports_.versions)},
          {u"User-Language", translator_.CurrentLanguage},
          {u"User-Debug", u"false"},  // the leak-report switch is never on
          {u"User-Union", GetUID(ports_.registry, ports_.clock, [this](uint32_t n) { return Random(n); })}};
}

void UpdateClient::CheckUpdate(const Text& url, UpdateCallback proc, int noticeOffset) {
  updateUrl_ = url;
  noticeOffset_ = noticeOffset;
  if (worker_.joinable()) worker_.join();  // one run at a time
  stop_ = false;
  finished_ = false;
  const bool wait = !proc;
  worker_ = std::thread([this, proc = std::move(proc)] {
    Run(proc);
    finished_ = true;
  });
  if (wait) {
    uiThread_.ServeUntil([this] { return finished_.load(); });
    worker_.join();
  }
}

void UpdateClient::Run(UpdateCallback proc) {
  const std::vector<HttpHeader> headers = RequestHeaders();
  Text answer;
  for (int attempt = 0; attempt < timing_.attempts; ++attempt) {
    if (RequestAnswer(ports_.http, updateUrl_, headers, answer)) break;
    answer.clear();
    for (int i = 0; i < timing_.pausesPerWait; ++i) {
      if (stop_) return;  // asked to stop: no answer is handed over
      std::this_thread::sleep_for(timing_.pause);
    }
  }
  uiThread_.RunSync([&] {
    if (!stop_) HandleAnswer(answer, proc);  // a client going away shows nothing
  });
}

void UpdateClient::HandleAnswer(const Text& data, const UpdateCallback& proc) {
  // An address that is no web address counts as absent: nothing to offer, no bar that opens
  // nothing, and an accepted offer always opened its page.
  Text item = UnescapeJSON(ExtractBetween(data, u"\"update\":\"", u"\""));
  bool accepted = false;
  if (IsWebAddress(item) && ui_.UpdateDialog(data)) {
    ports_.shell.Open(item);
    accepted = true;
  }
  item = UnescapeJSON(ExtractBetween(data, u"\"notify\":\"", u"\""));
  if (IsWebAddress(item)) ui_.ShowUpdateStatus(item);
  if (proc) proc(accepted, data);
}

void UpdateClient::StartHoldRequest() {
  {
    std::lock_guard<std::mutex> lock(holdMutex_);
    ++holdRequests_;
  }
  const std::vector<HttpHeader> headers = {{u"User-Version", GetVersionText(ports_.systemInfo, ports_.versions)},
                                           {u"User-Command", u"hold"}};
  std::thread([this, headers, url = updateUrl_] {
    Text ignored;
    (void)RequestAnswer(ports_.http, url, headers, ignored);
    std::lock_guard<std::mutex> lock(holdMutex_);
    --holdRequests_;
    holdDone_.notify_all();
  }).detach();
}

bool UpdateClient::Busy() {
  if (!finished_) return true;
  std::lock_guard<std::mutex> lock(holdMutex_);
  return holdRequests_ > 0;
}

void UpdateClient::WaitForHoldRequests() {
  std::unique_lock<std::mutex> lock(holdMutex_);
  holdDone_.wait(lock, [this] { return holdRequests_ == 0; });
}

}  // namespace tarnwick
