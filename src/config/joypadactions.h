#pragma once
// The nineteen actions a joypad binding can run, by index. The settings dialog
// fills its eight binding boxes with these captions in this order.
#include <array>

inline constexpr int kJoypadActionCount = 19;
inline constexpr std::array<const char *, kJoypadActionCount> kJoypadActionCaptions{"(使用しない)",
                                                                                    "前の曲",
                                                                                    "再生",
                                                                                    "一時停止",
                                                                                    "停止",
                                                                                    "次の曲",
                                                                                    "選択ファイルを渡す",
                                                                                    "MP3プレイヤー終了",
                                                                                    "全て選択",
                                                                                    "選択を反転",
                                                                                    "プレイヤーをWinampにする",
                                                                                    "プレイヤーをSCMPXにする",
                                                                                    "プレイヤーを順に切替",
                                                                                    "ボリューム-A",
                                                                                    "ボリューム-B",
                                                                                    "ボリューム-C",
                                                                                    "ボリュームアップ",
                                                                                    "ボリュームダウン",
                                                                                    "プレイヤーを内蔵のものに"};
