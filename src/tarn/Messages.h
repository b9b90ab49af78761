#pragma once
// The keyed messages raised across the system, with their English defaults.

namespace tarn {

struct CMessage {
    const wchar_t* key;
    const wchar_t* defaultText;
};

namespace messages {

inline constexpr CMessage kEndOfEnum{L"tarn.CEndOfEnumError.desc",
                                     L"end of enumeration already reached"};
inline constexpr CMessage kNoSuchObject{L"tarn.CNoSuchObjectError.desc", L"No such object."};
inline constexpr CMessage kFileNotFound{L"tarn.CFileNotFoundError.Desc",
                                        L"The file '%FILE%' was not found."};
inline constexpr CMessage kFileNotFoundGeneral{L"tarn.CFileNotFoundError.GeneralDesc",
                                               L"The file was not found."};
inline constexpr CMessage kDeleteFileFailed{L"tarn.CSystem.DeleteFileFailed",
                                            L"Error deleting the file '%FILE%' (%MSG%)."};
inline constexpr CMessage kMoveFileFailed{L"tarn.CSystem.MoveFileFailed",
                                          L"Error moving file '%SRC%' to '%DEST%'."};
inline constexpr CMessage kMoveFolderFailed{L"tarn.CSystem.MoveFolderFailed",
                                            L"Error moving folder '%SRC%' to '%DEST%'."};
inline constexpr CMessage kCopyFileFailed{L"tarn.CSystem.CopyFileFailed",
                                          L"Error copying file '%SRC%' to '%DEST%' (%MSG%)."};
inline constexpr CMessage kDeleteFolderFailed{L"tarn.CSystem.DeleteFolderFailed",
                                              L"Error deleting the folder '%FOLDER%' (%MSG%)."};
inline constexpr CMessage kCreateFolderFailed{L"tarn.CSystem.CreateFolderFailed",
                                              L"Error creating the folder '%DIR%' (%MSG%)."};
inline constexpr CMessage kCreateUniqueFileFailed{L"tarn.CSystem.CreateUniqueFileFailed",
                                                  L"Error creating unique file name."};
inline constexpr CMessage kCreateUniqueFolderFailed{L"tarn.CSystem.CreateUniqueFolderFailed",
                                                    L"Error creating unique folder name."};
inline constexpr CMessage kNoSuchSubSystem{L"tarn.win32.CSystem.NoSuchSubSystem",
                                           L"No sub system of type %TYPE% was found."};
inline constexpr CMessage kCreateWindowError{L"tarn.gui.win32.CreateWindowError",
                                             L"Error creating window."};
inline constexpr CMessage kTimerIntervalGEZero{L"tarn.win32.CWindowTimer.IntervalGEZero",
                                               L"window timer intervals have to be >=0"};
inline constexpr CMessage kDoubleParseError{L"tarn.CDouble.parseError",
                                            L"Error parsing floating point value."};

}  // namespace messages
}  // namespace tarn
