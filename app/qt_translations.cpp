#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "core/ui_language.h"

namespace velora {
namespace {

struct QtTranslation {
  std::unique_ptr<QTranslator> japanese;
  bool installed = false;
};

QtTranslation& State() {
  static QtTranslation state;
  return state;
}

}  // namespace

bool QtTextsFollow(int language) {
  QtTranslation& state = State();
  if (language != kJapanese) {
    if (state.installed) QCoreApplication::removeTranslator(state.japanese.get());
    state.installed = false;
    return true;
  }
  if (state.installed) return true;
  if (!state.japanese) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    state.japanese = std::move(translator);
  }
  state.installed = QCoreApplication::installTranslator(state.japanese.get());
  return state.installed;
}

}  // namespace velora
