#include "launcher/messages.h"

namespace tarnwick::launcher {
namespace {

struct Translation {
  uint32_t lcid;
  TextView text;
};

struct Row {
  TextView key;
  Translation translations[7];
};

// Korean 1042, Japanese 1041, Chinese (PRC) 2052, German 1031, Russian 1049, Italian 1040,
// French 1036; regional variants and other sort orders get the English key.
constexpr Row kCatalogue[] = {
    {u"The application configuration file is invalid.",
     {{1042, u"응용 프로그램 구성 파일이 잘못되었습니다."},
      {1041, u"アプリケーションの設定ファイルが無効です。"},
      {2052, u"应用程序配置文件无效。"},
      {1031, u"Die Anwendungskonfigurationsdatei ist ungültig."},
      {1049, u"Конфигурационный файл приложения недействителен."},
      {1040, u"Il file di configurazione dell'applicazione non è valido."},
      {1036, u"Le fichier de configuration de l'application n'est pas valide."}}},
    {u"Please reinstall and run.",
     {{1042, u"다시 설치 후 실행해 주십시오."},
      {1041, u"再インストールして実行してください。"},
      {2052, u"请重新安装并运行。"},
      {1031, u"Bitte neu installieren und ausführen."},
      {1049, u"Пожалуйста, переустановите и запустите."},
      {1040, u"Si prega di reinstallare ed eseguire."},
      {1036, u"Veuillez réinstaller et exécuter."}}},
    {u"This program has been updated.",
     {{1042, u"업데이트가 정보가 있습니다."},
      {1041, u"このプログラムがアップデートされました。"},
      {2052, u"该程序已更新。"},
      {1031, u"Dieses Programm ist aktualisiert worden."},
      {1049, u"Данная программа была обновлена."},
      {1040, u"Questo programma è stato aggiornato."},
      {1036, u"Ce programme a été mis à jour."}}},
    {u"It is recommended to download and execute new for stable use.",
     {{1042, u"안정적으로 사용하기 위해 업데이트를 하시길 권장합니다."},
      {1041, u"安定的に使用するために新しくダウンロード·実行することをお勧めします。"},
      {2052, u"建议下载并执行新程序以稳定使用。"},
      {1031, u"Es wird empfohlen, es herunterzuladen und neu auszuführen, um es stabil zu verwenden."},
      {1049, u"Рекомендуется скачать и выполнить новое для стабильного использования."},
      {1040, u"Si raccomanda di scaricarlo ed eseguirlo per un uso stabile."},
      {1036, u"Il est recommandé de télécharger et d'exécuter la nouvelle version pour une utilisation stable."}}},
    {u"Do you want to download it?",
     {{1042, u"다운로드 받으시겠습니까?"},
      {1041, u"ダウンロードしますか。"},
      {2052, u"您要下载吗？"},
      {1031, u"Möchten Sie es herunterladen?"},
      {1049, u"Вы хотите загрузить ее?"},
      {1040, u"Volete scaricarlo?"},
      {1036, u"Voulez-vous le télécharger?"}}},
};

}  // namespace

Text Localize(TextView text, uint32_t launcherLanguage) {
  for (const Row& row : kCatalogue) {
    if (row.key != text) continue;
    for (const Translation& translation : row.translations) {
      if (translation.lcid == launcherLanguage) return Text(translation.text);
    }
    return Text(row.key);
  }
  return Text(text);
}

}  // namespace tarnwick::launcher
