#include <gtest/gtest.h>

#include <vector>

#include "core/i18n/translate.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

// The table the program carries, block by block: ko, en, ja, zh, ru, it, fr, ar.
constexpr const char16_t* kLanguages[] = {u"ko", u"en", u"ja", u"zh", u"ru", u"it", u"fr", u"ar"};
constexpr const char16_t* kBlocks[][8] = {
    {u"처음화면", u"Home", u"ホーム", u"主页", u"Главная", u"Home", u"Accueil", u"الرئيسية"},
    {u"Tarnwick", u"Tarnwick", u"Tarnwick", u"Tarnwick", u"Tarnwick", u"Tarnwick", u"Tarnwick", u"Tarnwick"},
    {u"사용함", u"Enable", u"有効化", u"启用", u"Включить", u"Abilita", u"Activer", u"تفعيل"},
    {u"사용안함", u"Disable", u"無効化", u"禁用", u"Отключить", u"Disabilita", u"Désactiver", u"تعطيل"},
    {u"프로그램 이름", u"Program", u"プログラム", u"程序", u"Программа", u"Programma", u"Programme", u"برنامج"},
    {u"출처", u"Loc", u"場所", u"位", u"Мест", u"Pos", u"Loc", u"موقع"},
    {u"파일 저장", u"Save", u"ファイル保存", u"文件保存", u"Сохранить файл", u"Salva file", u"Enregistrer fichier", u"حفظ الملف"},
    {u"텍스트 파일", u"Text", u"テキストファイル", u"文本文件", u"Текстовый файл", u"File di testo", u"Fichier texte", u"ملف نصي"},
    {u"모든 파일", u"All", u"すべてのファイル", u"所有文件", u"Все файлы", u"Tutti i file", u"Tous les fichiers", u"جميع الملفات"},
    {u"전체목록", u"All Programs", u"全プログラム", u"所有程序", u"Все программы", u"Tutti i programmi", u"Tous les programmes", u"جميع البرامج"},
    {u"리소스 로드 실패:", u"Resource load failed:", u"リソースの読み込みに失敗:", u"资源加载失败:", u"Ошибка загрузки ресурса:", u"Caricamento risorsa fallito:", u"Échec du chargement de la ressource:", u"فشل تحميل المورد:"},
    {u"오류가 발생했습니다.", u"An error has occurred.", u"エラーが発生しました。", u"发生了错误。", u"Произошла ошибка.", u"Si è verificato un errore.", u"Une erreur s'est produite.", nullptr},
};

class TranslateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(windows.resources.LoadFile(u"TRANSLATE", TARNWICK_SOURCE_DIR "/resources/translate.txt"));
  }
  Translator Start(const char16_t* iso639) {
    windows.locale.iso639 = iso639;
    return Translator::Start(windows.resources, windows.locale);
  }
  sim::SimWindows windows;
};

TEST_F(TranslateTest, EveryKeyInEveryLanguage) {
  const Translator translator = Start(u"ko");
  for (const auto& block : kBlocks) {
    for (size_t lang = 0; lang < std::size(kLanguages); ++lang) {
      const char16_t* expected = block[lang] ? block[lang] : block[1];  // no line: English
      EXPECT_EQ(translator.Translate(block[0], kLanguages[lang]), expected)
          << ToUtf8(block[0]) << " in " << ToUtf8(kLanguages[lang]);
    }
  }
}

TEST_F(TranslateTest, TheStoredTableReadsWithBothLineEnds) {
  Bytes raw;
  ASSERT_TRUE(windows.resources.ReadRcData(u"translate", raw));
  ASSERT_GE(raw.size(), 3u);
  EXPECT_EQ(raw[0], 0xEF);
  const std::string text(raw.begin(), raw.end());
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  EXPECT_NE(text.find(".\n"), std::string::npos);  // a lone LF
  const Translator translator = Start(u"ko");
  EXPECT_EQ(translator.TranslateTable.size(), 547u);
  EXPECT_EQ(translator.TranslateTable[0], u"ko=\uCC98\uC74C\uD654\uBA74");  // no byte-order mark
  EXPECT_TRUE(translator.TranslateTable[8].empty());
}

TEST_F(TranslateTest, LookupRules) {
  Translator translator = Start(u"ja");
  const Text home = kBlocks[0][0];
  EXPECT_EQ(translator.Translate(u""), u"");
  EXPECT_EQ(translator.Translate(home), kBlocks[0][2]);
  EXPECT_EQ(translator.Translate(home, u"de"), u"Home");
  EXPECT_EQ(translator.Translate(home, u"ko"), home);
  EXPECT_EQ(translator.Translate(u"Home", u"fr"), u"Accueil");
  EXPECT_EQ(translator.Translate(u"HOME", u"ja"), kBlocks[0][2]);
  EXPECT_EQ(translator.Translate(u"Home", u"JA"), u"Home");  // codes compare exactly
  const Text failed = kBlocks[10][0];
  EXPECT_EQ(translator.Translate(failed + u" ", u"en"), failed + u" ");
  EXPECT_EQ(translator.Translate(kBlocks[11][0], u"ar"), u"An error has occurred.");
  const Text saveList = u"\uBAA9\uB85D \uC800\uC7A5";  // the pop-up menu's item
  EXPECT_EQ(translator.Translate(saveList, u"en"), u"Save list");
  for (const char16_t* lang : kLanguages) {
    if (Text(lang) == u"ko") continue;
    EXPECT_NE(translator.Translate(saveList, lang), saveList) << ToUtf8(lang);
  }
  EXPECT_EQ(translator.Translate(u"line\\nnext"), u"line\rnext");
  EXPECT_EQ(translator.Translate(u"line\\n"), u"line\r");
}

TEST_F(TranslateTest, BackslashNInTheTableBecomesALoneCr) {
  const Translator translator({u"ko=\uD558\uB098\\n\uB458", u"en=One\\nTwo", u"fr=Un\\n\\nDeux"}, u"en");
  EXPECT_EQ(translator.Translate(u"\uD558\uB098\\n\uB458"), u"One\rTwo");
  EXPECT_EQ(translator.Translate(u"One\\nTwo", u"fr"), u"Un\r\rDeux");
}

TEST_F(TranslateTest, LanguageFromTheLocale) {
  struct Case {
    const char16_t* iso639;
    const char16_t* language;
  };
  for (const Case& c : {Case{u"ko", u"ko"}, Case{u"fil", u"fi"}, Case{u"de", u"de"}, Case{u"", u"en"}}) {
    EXPECT_EQ(Start(c.iso639).CurrentLanguage, c.language) << ToUtf8(c.iso639);
  }
  windows.faults.Fail("GetLocaleInfoW");
  EXPECT_EQ(Start(u"ja").CurrentLanguage, u"en");
}

TEST_F(TranslateTest, MissingTableLeavesTextsAsGiven) {
  windows.faults.Fail("FindResourceW");
  const Translator translator = Start(u"en");
  EXPECT_TRUE(translator.TranslateTable.empty());
  EXPECT_EQ(translator.Translate(kBlocks[0][0]), kBlocks[0][0]);
  EXPECT_EQ(translator.Translate(u"a\\nb"), u"a\rb");
}

// A window of our own making: a form owning a label, a pop-up menu and its items.
class FakeComponent : public UiComponent {
 public:
  FakeComponent(Kind kind, Text caption, bool hasCaption = true)
      : kind_(kind), caption_(std::move(caption)), hasCaption_(hasCaption) {}
  Kind GetKind() const override { return kind_; }
  bool HasCaption() const override { return hasCaption_; }
  Text GetCaption() const override { return caption_; }
  void SetCaption(const Text& caption) override {
    caption_ = caption;
    ++writes;
  }
  size_t OwnedCount() const override { return owned.size(); }
  UiComponent* Owned(size_t i) override { return owned[i]; }
  size_t ItemCount() const override { return items.size(); }
  UiComponent* Item(size_t i) override { return items[i]; }

  std::vector<UiComponent*> owned, items;
  int writes = 0;

 private:
  Kind kind_;
  Text caption_;
  bool hasCaption_;
};

TEST_F(TranslateTest, TranslateComponentWalksOwnedElementsWithTheFormException) {
  Translator translator = Start(u"ja");
  FakeComponent form(UiComponent::Kind::Form, kBlocks[1][0]);
  FakeComponent button(UiComponent::Kind::Other, kBlocks[2][0]);
  FakeComponent list(UiComponent::Kind::Other, u"", false);
  FakeComponent popup(UiComponent::Kind::PopupMenu, u"", false);
  FakeComponent item(UiComponent::Kind::MenuItem, kBlocks[9][0]);
  FakeComponent sub(UiComponent::Kind::MenuItem, kBlocks[4][0]);
  item.items = {&sub};
  popup.items = {&item};
  form.owned = {&button, &list, &popup, &item, &sub};  // menu items are owned by the form too

  translator.TranslateComponent(&form);
  EXPECT_EQ(form.GetCaption(), u"Tarnwick");
  EXPECT_EQ(button.GetCaption(), kBlocks[2][2]);
  EXPECT_EQ(item.GetCaption(), kBlocks[9][2]);  // translated twice, same result
  EXPECT_EQ(item.writes, 2);
  EXPECT_EQ(sub.GetCaption(), kBlocks[4][2]);
  EXPECT_EQ(list.writes, 0);

  FakeComponent koForm(UiComponent::Kind::Form, kBlocks[0][0]);
  translator.TranslateComponent(&koForm, u"ko");
  EXPECT_EQ(translator.CurrentLanguage, u"ko");
  EXPECT_EQ(koForm.GetCaption(), kBlocks[0][0]);

  FakeComponent enForm(UiComponent::Kind::Form, kBlocks[0][0]);
  translator.TranslateComponent(&enForm, u"fr");
  EXPECT_EQ(enForm.GetCaption(), u"Home");  // the form's caption goes to English first
  EXPECT_EQ(translator.Translate(enForm.GetCaption()), u"Accueil");
  translator.TranslateComponent(nullptr);
}

}  // namespace
}  // namespace tarnwick
