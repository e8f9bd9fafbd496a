#pragma once
// Command ids the shell itself handles or refers to. Every other id lives
// only in the ribbon and menu tables (ribbontable.cpp, contextmenus.cpp)
// until the view or document that handles it registers it.
namespace cmd {

inline constexpr int kStatusPane1 = 120;
inline constexpr int kStatusPane2 = 121;
inline constexpr int kWindowDialog = 131;
inline constexpr int kLookFirst = 210; // 210..218: the looks
inline constexpr int kLookLast = 218;
inline constexpr int kLookOffice2007Blue = 215;
inline constexpr int kLookOffice2007Black = 216;
inline constexpr int kLookOffice2007Silver = 217;
inline constexpr int kLookOffice2007Aqua = 218;
inline constexpr int kLookVisualStudio2005 = 214;
inline constexpr int kFamilyCombo = 866;
inline constexpr int kEscape = 32768;

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFileMruFirst = 57616; // recent documents 1..10
inline constexpr int kFileMruLast = 57625;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelp = 57670;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;

} // namespace cmd
