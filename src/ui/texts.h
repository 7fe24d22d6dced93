#pragma once

// The operator window's own texts, UTF-8. Button captions double as on/off
// state and are compared as exact text.

inline constexpr const char* kSearchCaption = "搜索";
inline constexpr const char* kStopCaption = "停止";
inline constexpr const char* kOpenPortCaption = "打开串口";
inline constexpr const char* kClosePortCaption = "关闭串口";

inline constexpr const char* kOpenPortFirst = "请先打开串口";
inline constexpr const char* kPortAlreadyOpen = "串口已经打开";
inline constexpr const char* kPortOpened = "打开成功";
inline constexpr const char* kPortOpenFailed = "打开串口失败";
inline constexpr const char* kPortClosed = "串口已关闭";
inline constexpr const char* kSetSucceeded = "设置成功";
inline constexpr const char* kSetFailed = "设置失败";

inline constexpr const char* kAddressFound = "地址为:";  // followed by the address
inline constexpr const char* kNoAddressFound = "没有搜到地址！";
