#include "service/UserManual.h"

namespace kestrel::service {

namespace {

constexpr const char* kIntroduction = R"html(<h1>Kestrel 軟體手冊</h1>
<p>Kestrel 是台指期貨當沖的模擬訓練軟體。它把一個已記錄的交易日從 08:45:00 開始重新播放，
播放速度為實際速度的 1 到 32 倍；您可以在播放中像真實盤勢一樣下限價單、市價單與觸價單，
成交後依手續費與期交稅結算，並即時顯示已實現與未實現損益、勝率與保證金餘額。
交易商品可選大台指（每點 200 元）或小台指（每點 50 元）。</p>
<ol>
<li><a href="#install">安裝與啟動</a></li>
<li><a href="#login">登入帳號</a></li>
<li><a href="#download">下載盤勢</a></li>
<li><a href="#replay">盤勢操作</a></li>
<li><a href="#order">下單介面</a></li>
<li><a href="#account">期貨帳戶與交易記錄</a></li>
<li><a href="#charts">圖表與視窗</a></li>
<li><a href="#classroom">學員模式與講師監控</a></li>
<li><a href="#keys">快速鍵一覽</a></li>
<li><a href="#faq">常見問題</a></li>
</ol>
)html";

constexpr const char* kInstall = R"html(<h2 id="install">1. 安裝與啟動</h2>
<p>在程式資料夾執行 <code>./run.sh</code>：它會安裝缺少的套件、編譯並啟動訓練軟體。
訓練軟體的工作資料夾（預設為 <code>work</code>）內有設定檔 <code>setup.ini</code>、
版本檔 <code>Version.ini</code>，以及三個資料夾：<code>cache</code>（下載中的盤勢）、
<code>data</code>（分鐘 K 線歷史）與 <code>Diary</code>（交易記錄與日誌）。</p>
<p>訓練軟體需要練習服務。管理者在伺服器上以下列指令建立資料庫與練習帳號，再啟動服務：</p>
<pre><code>kestrel-service init --data 資料夾
kestrel-service serve --data 資料夾</code></pre>
<p>服務預設位址是 <code>http://127.0.0.1:18631</code>。若服務在另一台電腦，請在
<code>setup.ini</code> 的 <code>[SERVICE]</code> 區段設定 <code>PRIMARY</code>、
<code>SECONDARY</code> 與 <code>MIRROR</code> 三個位址。</p>
<p>同一台電腦一次只能執行一份訓練軟體。</p>
)html";

constexpr const char* kLogin = R"html(<h2 id="login">2. 登入帳號</h2>
<p>程式啟動半秒後出現「帳號登入」視窗。輸入帳號與密碼後按「登入」；勾選「記住帳號」，
下次開啟時會自動填入帳號。狀態列顯示「登入成功」後，主視窗標題會顯示
「Kestrel( 已登入: 帳號 )」，並檢查是否有新版軟體。</p>
<table>
<tr><th>訊息</th><th>說明</th></tr>
<tr><td>無效的帳號密碼</td><td>帳號或密碼錯誤。連續錯誤五次帳號會被鎖定。</td></tr>
<tr><td>檢核錯誤，請重新登入</td><td>帳號正在另一台電腦使用、已被鎖定或已過期。
學員請請講師在監控視窗按「解除鎖定」。</td></tr>
<tr><td>連線失敗，請稍後再試</td><td>連不到練習服務，請確認服務已啟動與位址設定。</td></tr>
</table>
<p>每台電腦登入時會取得一組六位數的連線代碼，存在 <code>setup.ini</code>；
同一帳號同時只能在一個地方使用。關閉程式時會詢問「確定登出並離開程式？」，
登出後帳號即釋放，當日損益並計入保證金。</p>
<p>「說明」選單的「關於軟體」顯示使用者與到期日；「連到首頁」、「軟體手冊」與
「更新歷程」會在瀏覽器開啟本服務的網頁。</p>
)html";

constexpr const char* kDownload = R"html(<h2 id="download">3. 下載盤勢</h2>
<p>登入後，在沒有盤勢進行時可以下載交易日：</p>
<ul>
<li><b>依日期</b>：工具列「日 期」或「資料下載」→「下載盤勢」，在月曆選擇日期後按「下載」。
下載視窗依序顯示「正在要求檔案...」、「資料下載中...」、「自動補齊K線...」與
「下載成功，正在載入資料...」，完成後自動載入。若顯示「該日期無資料」，
表示該日為假日或服務沒有該日資料。</li>
<li><b>盤型下載</b>：工具列「盤型」或「資料下載」→「盤型下載」，可選
隨機日期、上漲盤型、下跌盤型、震盪盤型、殺多盤型與軋空盤型。服務依盤型挑選一日，
載入後日期會隱藏（狀態列顯示「隱藏中」），讓您不受日期影響練習判斷。</li>
<li><b>日期範圍設定</b>：勾選「指定區間」並輸入開始與結束日期（例如 2013/01/01），
盤型下載只會挑選區間內的日期。</li>
<li><b>訓練盤型</b>：列出講師準備的訓練日與說明，選擇一列後按「下載訓練盤」。
播放到講師註解的時間時會自動暫停並顯示「訓練盤說明」，看完按「繼續盤勢」。</li>
<li><b>歷史盤型查詢</b>：選擇年份與月份後按「查詢」，列出每日的開高低收、總量、
漲跌、震幅、主盤型與次盤型；「查圖」顯示當日走勢圖，「載入盤勢」下載該日。</li>
</ul>
<p>「資料來源」選單：「使用真實五檔資料」會一併下載當日的五檔委託資料並顯示五檔視窗；
若下載常出問題，請勾選「安全下載」，下載時會多等待一些時間。</p>
)html";

constexpr const char* kReplay = R"html(<h2 id="replay">4. 盤勢操作</h2>
<table>
<tr><th>功能</th><th>說明</th></tr>
<tr><td>開盤</td><td>從 08:45:00 開始播放已載入的交易日。</td></tr>
<tr><td>暫停／繼續</td><td>暫停或繼續播放；空白鍵可切換。</td></tr>
<tr><td>結束</td><td>結束盤勢：未平倉部位以市價平倉，當日結果記入歷史記錄與帳戶。</td></tr>
<tr><td>盤速</td><td>正常、兩倍、四倍、八倍、16 倍與 32 倍速度；C 加快、X 放慢、Z 回到正常速度。</td></tr>
<tr><td>時間回溯 (R)</td><td>把進行中的盤勢退回到較早的時間重新播放。</td></tr>
<tr><td>快速播放</td><td>不等待，直接把整天播放到收盤。</td></tr>
<tr><td>隱藏日期 (H)</td><td>隱藏或顯示狀態列與日 K 線上的日期。</td></tr>
</table>
<p>狀態列最右邊顯示模擬時間，旁邊是交易日期；左邊兩格顯示委託狀態與最新的成交回報。
成交明細可選「平滑模式」（正常速度時一次顯示一筆）以及捲動方向。</p>
)html";

constexpr const char* kOrder = R"html(<h2 id="order">5. 下單介面</h2>
<p>載入交易日後可開啟三種下單介面（「交易設定」→「下單介面」）：</p>
<ul>
<li><b>一般介面 (G)</b>：選擇買進或賣出、輸入價格與口數後按「送單」為限價單；
「市價買」與「市價賣」以市價成交。買進時視窗為淺紅色，賣出時為淺綠色。</li>
<li><b>簡易介面 (S)</b>：只有「市價買」與「市價賣」兩個大按鈕。</li>
<li><b>光速介面 (F)</b>：價格階梯，每一列是一個價位，中間為價格，兩側為五檔數量：</li>
</ul>
<table>
<tr><th>欄位</th><th>左鍵</th><th>右鍵</th></tr>
<tr><td>停（左）</td><td>在該價位下買進觸價單</td><td>刪除該價位的買進觸價單</td></tr>
<tr><td>刪（左）</td><td>刪除該價位的買進委託</td><td>回到最新成交價</td></tr>
<tr><td>委買、五檔（左）</td><td>在該價位下買進限價單</td><td>回到最新成交價</td></tr>
<tr><td>五檔、委賣（右）</td><td>在該價位下賣出限價單</td><td>回到最新成交價</td></tr>
<tr><td>刪（右）</td><td>刪除該價位的賣出委託</td><td>回到最新成交價</td></tr>
<tr><td>停（右）</td><td>在該價位下賣出觸價單</td><td>刪除該價位的賣出觸價單</td></tr>
</table>
<p>在光速介面中按方向鍵 ← 為市價買進、→ 為市價賣出；口數由介面上的口數欄決定。
「買單全刪」與「賣單全刪」刪除該方向所有委託，「+」把階梯移回最新成交價。
限價買單在成交價低於或等於委託價時成交，成交價取委託價與賣價較低者；
觸價單在價格觸及時轉為市價單。部位以先進先出方式沖銷。</p>
<p>「交易設定」→「初始設定」可選擇大台指或小台指、手續費與保證金。</p>
)html";

constexpr const char* kAccount = R"html(<h2 id="account">6. 期貨帳戶與交易記錄</h2>
<ul>
<li><b>期貨帳戶 (A)</b>：委託、未成交委託、成交、未平倉部位與保證金帳戶；
可匯出「成交記錄.csv」與「詳細成交記錄.csv」，也可匯入成交記錄。</li>
<li><b>交易日誌 (D)</b>：為目前的交易日寫下心得，存在 Diary 資料夾。</li>
<li><b>歷史記錄</b>：每個結束的交易日一行，可刪除與匯出「歷史交易記錄.csv」。</li>
</ul>
)html";

constexpr const char* kCharts = R"html(<h2 id="charts">7. 圖表與視窗</h2>
<p>主視窗左邊由上而下為權值股票、走勢圖Ⅰ、走勢圖Ⅱ與分析視窗；右邊為行情摘要、
五檔、委託回報與成交明細。F5 到 F8 顯示或隱藏權值股票、走勢圖Ⅰ、分析視窗與委託回報，
Tab 顯示或隱藏右邊的指數視窗。</p>
<p>走勢圖可切換期貨走勢 (F1)、加權與類股走勢 (F2)、價差走勢 (F3)、個股走勢 (F4)，
以及日 K、1 分、5 分與 30 分鐘 K 線。先用滑鼠點選 K 線圖，再以方向鍵 ↑ 或 + 放大、
↓ 或 - 縮小、← 與 → 左右移動。Q 開啟移動查價；T 與 Y 進入線條與矩形繪圖模式。
分析視窗可顯示價差、KD 與 MACD，指標跟隨走勢圖Ⅱ。各圖的顏色可在「顏色設定功能」調整，
也可一次套用黑底或白底。</p>
)html";

constexpr const char* kClassroom = R"html(<h2 id="classroom">8. 學員模式與講師監控</h2>
<p><b>學員</b>：登入後選擇「群組功能」→「進入學員模式」。程式每六秒向服務查詢一次：
講師指派日期後自動下載並載入，講師開盤時自動開盤，講師收盤時顯示
「講師已下達收盤指令！」並結束盤勢，成績自動回報給講師。學員模式中不能自行下載、
開盤、結束、時間回溯或使用 16 倍以上速度，下單口數也有限制。課程結束後再點選一次「進入學員模式」並確認，即可退出學員模式。</p>
<p><b>講師</b>：選擇「群組功能」→「講師監控視窗」，列出班上學員的狀態、開啟日期、
成交口數與交易損益。</p>
<table>
<tr><th>按鈕</th><th>說明</th></tr>
<tr><td>選取日期</td><td>學員都在「已登入，等待指派日期」或「盤勢已結束，等待指派日期」時，
選擇要練習的交易日。</td></tr>
<tr><td>開盤</td><td>學員都在「資料已下載，等待開盤」時，讓全班同時開盤。</td></tr>
<tr><td>收盤</td><td>學員都在「盤勢進行中」時，讓全班結束盤勢並回報成績。</td></tr>
<tr><td>依損益排序</td><td>勾選後依交易損益由高到低排列。</td></tr>
<tr><td>解除鎖定</td><td>學員帳號被鎖定或卡在另一台電腦時，解除後請學員重新登入。</td></tr>
<tr><td>匯出成績</td><td>把學員的交易口數與損益存成文字檔。</td></tr>
</table>
)html";

constexpr const char* kKeys = R"html(<h2 id="keys">9. 快速鍵一覽</h2>
<table>
<tr><th>按鍵</th><th>功能</th><th>按鍵</th><th>功能</th></tr>
<tr><td>空白鍵</td><td>暫停／繼續</td><td>Z</td><td>正常速度</td></tr>
<tr><td>C</td><td>速度加快</td><td>X</td><td>速度放慢</td></tr>
<tr><td>R</td><td>時間回溯</td><td>H</td><td>隱藏日期</td></tr>
<tr><td>G</td><td>一般下單介面</td><td>S</td><td>簡易下單介面</td></tr>
<tr><td>F</td><td>光速下單介面</td><td>A</td><td>期貨帳戶</td></tr>
<tr><td>D</td><td>交易日誌</td><td>T／Y</td><td>線條／矩形繪圖</td></tr>
<tr><td>F1～F4</td><td>走勢圖模式</td><td>Q</td><td>移動查價</td></tr>
<tr><td>F5</td><td>權值股票</td><td>F6</td><td>走勢圖Ⅰ</td></tr>
<tr><td>F7</td><td>分析視窗</td><td>F8</td><td>委託回報</td></tr>
<tr><td>Tab</td><td>指數視窗</td><td>← →</td><td>光速介面市價買進／賣出</td></tr>
</table>
)html";

constexpr const char* kFaq = R"html(<h2 id="faq">10. 常見問題</h2>
<dl>
<dt>下載時出現「無法開啟壓縮檔」？</dt>
<dd>請在「資料下載」→「資料來源」勾選「安全下載」後再試一次。</dd>
<dt>K 線圖沒有前幾天的分鐘 K 線？</dt>
<dd>下載時會自動補齊前十五個交易日的 K 線；若服務沒有該日資料，圖上只會有當日的 K 線。</dd>
<dt>訓練盤沒有出現講師說明？</dt>
<dd>若顯示「訓練盤資料不存在，請聯絡軟體開發商！」，表示服務缺少該日的說明檔，
盤勢仍可照常練習。</dd>
<dt>登入時顯示「檢核錯誤，請重新登入」？</dt>
<dd>帳號可能仍在另一台電腦登入中或已被鎖定，請講師或管理者解除鎖定後再登入。</dd>
</dl>
)html";

}  // namespace

std::string UserManualBody() {
  std::string body;
  for (const char* part : {kIntroduction, kInstall, kLogin, kDownload, kReplay, kOrder, kAccount,
                           kCharts, kClassroom, kKeys, kFaq})
    body += part;
  return body;
}

}  // namespace kestrel::service
