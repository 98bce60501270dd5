#include "ranking/ranking_form.h"

#include <cstdlib>
#include <span>

#include "core/ui_language.h"
#include "core/visible_text.h"

namespace velora {

const std::array<RememberedField, 9> kRememberedFields{{
    {"UserName", &RankingForm::userName},
    {"MachineName", &RankingForm::machineName},
    {"Area", &RankingForm::area},
    {"Country", &RankingForm::country},
    {"Mail", &RankingForm::mail},
    {"Web", &RankingForm::web},
    {"MotherBoard", &RankingForm::motherBoard},
    {"Memory", &RankingForm::memory},
    {"Password", &RankingForm::password},
}};

void ReadRememberedFields(const Settings& settings, RankingForm& form) {
  for (const RememberedField& f : kRememberedFields)
    form.*f.field = settings.Read(kInfoSection, f.key);
}

void WriteRememberedFields(const Settings& settings, const RankingForm& form) {
  for (const RememberedField& f : kRememberedFields)
    settings.Write(kInfoSection, f.key, form.*f.field);
}

namespace {

// The texts the service checks as typed names, and every other text a person types.
std::optional<FormProblem> CheckTypedTexts(const RankingForm& form) {
  const std::string* names[] = {&form.userName, &form.machineName, &form.area,
                                &form.country,  &form.cpuName,     &form.motherBoard,
                                &form.chipSet,  &form.video,       &form.memory,
                                &form.disk,     &form.raidController, &form.raidType};
  for (const std::string* text : names) {
    if (ShowsNothing(*text)) return FormProblem::kMissingField;
  }
  const std::string* others[] = {&form.password, &form.web, &form.mail, &form.comment};
  for (const auto& group : {std::span<const std::string* const>(names),
                            std::span<const std::string* const>(others)}) {
    for (const std::string* text : group) {
      if (HasHiddenControls(*text)) return FormProblem::kHiddenControl;
    }
  }
  for (const std::string& text : form.raidDisks) {
    if (HasHiddenControls(text)) return FormProblem::kHiddenControl;
  }
  return std::nullopt;
}

}  // namespace

std::optional<FormProblem> CheckForm(const RankingForm& form) {
  const std::string* required[] = {&form.userName, &form.cpuName, &form.machineName, &form.country,
                                   &form.password, &form.chipSet, &form.video,       &form.memory};
  for (const std::string* text : required) {
    if (text->empty()) return FormProblem::kMissingField;
  }
  if (form.raid == 0 && form.disk.empty()) return FormProblem::kMissingField;
  if (form.raid == 1 && form.raidController.empty()) return FormProblem::kMissingField;
  const std::string* clocks[] = {&form.clock,       &form.clockOriginal,
                                 &form.systemClock, &form.systemClockOriginal,
                                 &form.multiplier,  &form.multiplierOriginal};
  for (const std::string* text : clocks) {
    if (!(std::atof(text->c_str()) > 0)) return FormProblem::kBadClock;
  }
  return CheckTypedTexts(form);
}

const char* FormProblemText(FormProblem problem, int language) {
  const bool english = language == kEnglish;
  switch (problem) {
    case FormProblem::kMissingField:
      return english ? "Please input essensial information." : "必須事項が入力されていません";
    case FormProblem::kBadClock:
      return english ? "Clock Information is unsuitable."
                     : "クロック周波数等の情報は正確に入力してください";
    case FormProblem::kHiddenControl:
      return english ? "Please remove control characters from the texts."
                     : "入力欄から制御文字を取り除いてください";
  }
  return "";
}

}  // namespace velora
