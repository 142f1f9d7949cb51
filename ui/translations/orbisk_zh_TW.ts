<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>子網路遮罩「%1」不是 IPv4 位址。</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>子網路遮罩 0.0.0.0 無法使用：它會讓所有位址都屬於該子網路。</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>子網路遮罩 255.255.255.255 無法使用：它讓子網路中沒有其他主機，連閘道也沒有。</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>子網路遮罩 %1 不連續：所有為 1 的位元必須排在最前面。</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>位址「%1」不是 IPv4 位址。</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>位址 255.255.255.255 是廣播位址。</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>位址 %1 無法使用：0.x.x.x 位址代表「本網路」。</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>位址 %1 是迴路位址：裝置將只能連到自己。</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>位址 %1 是多點傳送位址。</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>位址 %1 是子網路 %2 的網路位址。</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>位址 %1 是子網路 %2 的廣播位址。</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>閘道「%1」不是 IPv4 位址。</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>閘道 %1 就是新位址本身。</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>閘道 %1 不是新位址所在子網路 %2 中的主機。</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>位址 %1 是這台電腦自己的位址（%2）。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>位址 %1 已被上次搜尋到的裝置（MAC 位址 %2）使用。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>位址 %1 已被 MAC 位址為 %2 的主機使用。</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>（未提供）</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>有多台裝置在 %1 回應（MAC 位址 %2）；修改要求會同時修改所有這些裝置。</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>第 %1 部分，共 4 部分</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1，第 %2 部分，共 4 部分</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>請選擇要修改 IP 位址的 NAS</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>無法修改 IP 位址，請檢查管理員名稱、密碼或參數格式</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>使用者名稱或密碼錯誤！</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>無法修改 IP 位址！</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>請選擇「固定 IP」或「DHCP」</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>連接埠 10001 已被其他程式佔用，無法接收回應。</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>無法接收回應：%1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>無法傳送要求：%1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>仍要傳送要求嗎？</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>使用者名稱或密碼不能為空</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>關於 Orbisk(&amp;A)...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>通訊連接埠初始化失敗</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>搜尋 NAS 裝置，設定其 IP。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>設定 IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>User</source>
        <translation>使用者</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP 位址</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>閘道</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>子網路遮罩</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>固定 IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>裝置</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>關於 Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>身分驗證</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>編號</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>主機名稱</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC 位址</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>關閉(&amp;C)</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>開啟網頁(&amp;W)</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>開啟共用資料夾(&amp;F)</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>複製 IP 位址(&amp;I)</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>複製 MAC 位址(&amp;M)</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>複製此列(&amp;R)</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>複製所有列(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>設定 IP(&amp;S)...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>介面</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>上次發現</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>在清單中</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>無法讀取而略過的記錄行：%1。</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>無法寫入記錄：%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>「%1」不是 MAC 位址。</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>正在等待 %1...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>停止等待</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>喚醒</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 沒有可用於喚醒的 MAC 位址。</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>無法傳送魔術封包：%1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 在 %2 秒內沒有回應。</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 已啟動，位址為 %2。</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>忘記 %1？</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>已記住的裝置(&amp;D)...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>忘記</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>新增...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>名稱（選填）</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>已記住的裝置</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>已記住的裝置</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>新增裝置</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>無法讀取已記住裝置的記錄；已將其保留為 %1，並開始新的記錄。</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>無法讀取已記住裝置的記錄 %1。</translation>
    </message>
</context>
</TS>
