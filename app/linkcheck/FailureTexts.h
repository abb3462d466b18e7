// What a failed check says, in its box and in the status bar (private to the checker).
#pragma once

namespace linkcheck::texts {

inline constexpr char kInvalidUrl[] = "URLが不正です。";
inline constexpr char kSocketFailed[] = "ソケットの作成に失敗しました。";
inline constexpr char kLookupFailed[] = "サーバのIPアドレスの取得に失敗しました。";
inline constexpr char kNoAddress[] = "IPアドレスの取得に失敗しました。";
inline constexpr char kSelectFailed[] = "ソケットイベントを通知させる設定に失敗しました。";
inline constexpr char kConnectFailed[] = "サーバへの接続に失敗しました。";
inline constexpr char kEventError[] = "ソケットイベントの通知でエラーが発生しました。";
inline constexpr char kSendFailed[] = "送信に失敗しました。";
inline constexpr char kReceiveFailed[] = "受信に失敗しました。";
inline constexpr char kNoResponse[] = "応答がありません。";
inline constexpr char kCertificateFailed[] = "サーバの証明書を確認できませんでした。";

}  // namespace linkcheck::texts
