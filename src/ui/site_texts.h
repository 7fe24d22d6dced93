#pragma once

// The site dialogs' own texts, UTF-8, some printf formats. What the site's
// work comes to (an outcome, a calibration, a finding) is the words
// library's, in the same Chinese as tarnel-link's.

// Both
inline constexpr const char* kFirstAboveLast = "起始地址不能大于结束地址。";
inline constexpr const char* kStopped = "已停止";

// 现场调试
inline constexpr const char* kChooseRecord = "选择记录文件";
inline constexpr const char* kSkipped = "地址 %u 已有应答，且不在记录中：跳过";
inline constexpr const char* kConnectNext = "请接入下一台控制器（出厂地址 %u）";
inline constexpr const char* kSeveralAtFactory = "地址 %u 上有不止一台控制器应答：请一次只接一台";
inline constexpr const char* kMoving = "正在设置地址 %u";
inline constexpr const char* kSecondAtFactory = "地址 %u 上还有另一台控制器应答：它们是同时接入的";
inline constexpr const char* kRopePrompt = "请将地址 %u 的水浸绳前 0～0.3 米放入水中，然后点“水浸绳已入水”";
inline constexpr const char* kCalibrating = "正在为地址 %u 校零";
inline constexpr const char* kRopeDry = "%s：放入水中后再点“水浸绳已入水”，或点“跳过”";
inline constexpr const char* kLabelIt = "请贴标签 %u";
inline constexpr const char* kLabelThenConnect = "请贴标签 %u，然后接入下一台控制器（出厂地址 %u）";
inline constexpr const char* kDisconnect = "设置失败：%s。请断开这台控制器，地址 %u 不再应答后继续";
inline constexpr const char* kSummary = "已设置 %u 台，失败 %u 台";
inline constexpr const char* kNoFreeAddress = "从 %u 到 %u 没有空闲地址了";
inline constexpr const char* kAdapterLost = "适配器已断开（%s）";
inline constexpr const char* kOtherMasterStops = "总线上有另一主站（%s），不再发送";
inline constexpr const char* kNotRecorded = "记录无法写入（%s），已停止";
inline constexpr const char* kSpeedNotListed = "串口的波特率不在列表中，请重新打开串口。";
inline constexpr const char* kNotARecord = "“%s”不是调试记录：%s。文件未改动，未发送任何内容。";
inline constexpr const char* kRecordHeld = "记录“%s”正被另一次调试使用。未发送任何内容。";
inline constexpr const char* kRecordUnusable = "无法使用记录“%s”：%s。未发送任何内容。";
inline constexpr const char* kMilliseconds = "%u 毫秒";
inline constexpr const char* kRecordUnreadable = "无法读取记录“%s”：%s。未生成报告。";
inline constexpr const char* kNoReportOfIt = "“%s”不是调试记录：%s。未生成报告。";
inline constexpr const char* kReportOverRecord = "“%s”是调试记录，不会被覆盖。未生成报告。";
inline constexpr const char* kReportOverOther = "“%s”已存在，且不是 Tarnel 生成的报告：文件未改动，未生成报告。";
inline constexpr const char* kReportUnwritable = "无法写入报告“%s”：%s。";
inline constexpr const char* kReportNotOpened = "报告已写入“%s”，但无法用浏览器打开。";

// 总线诊断
inline constexpr const char* kAllSpeeds = "全部";
inline constexpr const char* kListening = "以波特率 %u 监听 %u 毫秒";
inline constexpr const char* kProbing = "探测地址 %u（波特率 %u），已完成 %u/%u";
inline constexpr const char* kNoVerdict = "%s，没有结论";
inline constexpr const char* kPortRefusesSpeed = "串口不接受这个波特率";
inline constexpr const char* kDone = "完成";
