#pragma once
// Every text the program reads from a language file by name rather than
// through a table of elements (menus, tool tips, columns) or the named
// message texts. Each key is named once, in the list below; call sites use
// the names, and the list of keys the program reads is made from it.

namespace dravik {

struct TextKey {
  const char* section;
  const char* key;
};

// X(name, section, key)
#define DRAVIK_TEXT_KEYS(X)                                                                      \
  /* the tabs' captions, which also follow each list's row count */                            \
  X(TasksTab, "Main", "74")                                                                      \
  X(ProcessesTab, "Main", "67")                                                                  \
  X(ServicesTab, "Main", "99")                                                                   \
  X(NetworkTab, "Main", "97")                                                                    \
  /* the status bar's figures */                                                                 \
  X(CpuUsage, "Main", "68")                                                                      \
  X(MemoryInUse, "Main", "70")                                                                   \
  X(MemoryAvailable, "Main", "72")                                                               \
  /* a task's or a service's state */                                                            \
  X(Running, "Main", "77")                                                                       \
  X(TaskNotResponding, "Main", "78")                                                             \
  /* the priority bands, from no priority to real time */                                        \
  X(PriorityNone, "Main", "80")                                                                  \
  X(PriorityIdle, "Main", "81")                                                                  \
  X(PriorityBelowNormal, "Main", "82")                                                           \
  X(PriorityNormal, "Main", "83")                                                                \
  X(PriorityAboveNormal, "Main", "8301")                                                         \
  X(PriorityHigh, "Main", "84")                                                                  \
  X(PriorityRealtime, "Main", "85")                                                              \
  X(ServiceStopped, "Main", "101")                                                               \
  X(ServiceStarting, "Main", "102")                                                              \
  X(ServiceStopping, "Main", "103")                                                              \
  X(ServiceResuming, "Main", "104")                                                              \
  X(ServicePausing, "Main", "105")                                                               \
  X(ServicePaused, "Main", "106")                                                                \
  X(ServiceErrorTitle, "Main", "89")                                                             \
  X(CloseConnectionTitle, "Main", "109")                                                         \
  X(RunPrompt, "Main", "98")                                                                     \
  X(HelpMissing, "Main", "75")                                                                   \
  X(HelpMissingTitle, "Main", "76")                                                              \
  X(NoNewerVersion, "Main", "113")                                                               \
  /* the About box */                                                                            \
  X(AboutCaption, "About", "1")                                                                  \
  X(AboutVersion, "About", "2")                                                                  \
  X(AboutRights, "About", "4")                                                                   \
  X(AboutClose, "About", "6")                                                                    \
  X(AboutFreeware, "About", "7")                                                                 \
  /* the tray menu and the language dialog */                                                    \
  X(TrayOpen, "Tray", "1")                                                                       \
  X(TrayExit, "Tray", "2")                                                                       \
  X(LanguageCaption, "Tray", "3")                                                                \
  X(LanguageSelect, "Tray", "4")                                                                 \
  X(LanguageApply, "Tray", "5")                                                                  \
  X(LanguageCancel, "Tray", "6")                                                                 \
  X(LanguageChosen, "Tray", "7")                                                                 \
  X(LanguageChosenTitle, "Tray", "8")                                                            \
  X(UnsupportedSystem, "Splash", "5")                                                            \
  /* the file's own description */                                                               \
  X(CharacterSet, "LANGUAGE", "CharacterSet")                                                    \
  X(Translator, "LANGUAGE", "translator")                                                        \
  X(TranslatorEmail, "LANGUAGE", "e-mail")                                                       \
  X(TranslatorWeb, "LANGUAGE", "web")

namespace text_key {
#define DRAVIK_NAME_TEXT_KEY(name, section, key) inline constexpr TextKey k##name{section, key};
DRAVIK_TEXT_KEYS(DRAVIK_NAME_TEXT_KEY)
#undef DRAVIK_NAME_TEXT_KEY
}  // namespace text_key

// Every key of the list, in its order.
inline constexpr TextKey kNamedTextKeys[] = {
#define DRAVIK_LIST_TEXT_KEY(name, section, key) text_key::k##name,
    DRAVIK_TEXT_KEYS(DRAVIK_LIST_TEXT_KEY)
#undef DRAVIK_LIST_TEXT_KEY
};

}  // namespace dravik
