#include "service/HelpPages.h"

#include "service/UserManual.h"

namespace kestrel::service {

std::string HelpPages::Frame(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"zh-Hant\">\n<head>\n<meta charset=\"big5\">\n<title>" +
         title +
         "</title>\n<style>\n"
         "body{font-family:sans-serif;max-width:56em;margin:1em auto;padding:0 1em;"
         "line-height:1.6;color:#222}\n"
         "h1{border-bottom:2px solid #036;color:#036}h2{color:#036;margin-top:1.6em}\n"
         "table{border-collapse:collapse}td,th{border:1px solid #999;padding:.2em .6em}\n"
         "th{background:#e8eef4}code{background:#f2f2f2;padding:0 .2em}\n"
         "nav a{margin-right:1.2em}footer{margin-top:3em;font-size:90%;color:#555}\n"
         "</style>\n</head>\n<body>\n<nav><a href=\"/\">首頁</a>"
         "<a href=\"/software-doc.php\">軟體手冊</a>"
         "<a href=\"/software-history.php\">更新歷程</a></nav>\n" +
         body + "\n</body>\n</html>\n";
}

void HelpPages::Register(PageTable& pages) {
  const auto home = [](const RequestTarget&) { return Reply::Html(HomePage()); };
  pages["/"] = home;
  pages["/index.php"] = home;
  pages["/software-doc.php"] = [](const RequestTarget&) { return Reply::Html(ManualPage()); };
  pages["/software-history.php"] = [](const RequestTarget&) { return Reply::Html(HistoryPage()); };
}

std::string HelpPages::HomePage() {
  return Frame("Kestrel 練習服務", R"html(<h1>Kestrel 台指期當沖訓練 練習服務</h1>
<p>這是 Kestrel 訓練軟體的練習服務。訓練軟體從這裡登入帳號、下載交易日盤勢、
盤型與訓練盤、查詢歷史盤型，並在課堂中由講師指派日期、開盤與收盤。</p>
<h2>開始使用</h2>
<ul>
<li>第一次使用請先閱讀 <a href="/software-doc.php">軟體手冊</a>：安裝、登入、下載盤勢、
盤勢操作、下單介面與快速鍵。</li>
<li>各版本的改變請看 <a href="/software-history.php">更新歷程</a>。</li>
<li>練習帳號由本服務的管理者建立；課堂使用的學員與講師帳號請向講師索取。</li>
</ul>
<h2>服務狀態</h2>
<p>本服務在您的電腦或教室的伺服器上執行，資料來自本機的資料夾，不需要連上外部網路。</p>
<footer><h2>聯絡我們</h2>
<p>使用上的問題或建議，請告訴您的講師或本練習服務的管理者；
管理者可以在伺服器上重設密碼、解除帳號鎖定與調整權限。</p></footer>)html");
}

std::string HelpPages::ManualPage() {
  return Frame("Kestrel 軟體手冊", UserManualBody());
}

std::string HelpPages::HistoryPage() {
  return Frame("Kestrel 更新歷程", R"html(<h1>更新歷程</h1>
<h2>Kestrel 2.49 版</h2>
<ul>
<li>可在 Linux 桌面執行，設定檔 setup.ini 與 Version.ini 沿用原有格式。</li>
<li>附帶練習服務：帳號登入、依日期下載、盤型下載、訓練盤、歷史盤型查詢與軟體更新，
課堂的學員模式與講師監控視窗都可在本機使用。</li>
<li>歷史盤型查詢的走勢圖由服務依當日期貨走勢即時繪製。</li>
<li>講師監控視窗可依交易損益排序並匯出學員成績。</li>
</ul>
<h2>練習服務</h2>
<ul>
<li>帳號密碼以加鹽的慢速雜湊保存，錯誤密碼連續五次會鎖定帳號，可由講師的「解除鎖定」解除。</li>
<li>服務預設只接受本機連線；資料庫在程式被中斷時也不會損壞。</li>
</ul>)html");
}

}  // namespace kestrel::service
