<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>サブネットマスク「%1」は IPv4 アドレスではありません。</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>サブネットマスク 0.0.0.0 は使用できません: すべてのアドレスがサブネットに含まれてしまいます。</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>サブネットマスク 255.255.255.255 は使用できません: サブネット内に他のホストがなくなり、ゲートウェイも含まれません。</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>サブネットマスク %1 は連続していません: 1 のビットはすべて先頭に並ぶ必要があります。</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>アドレス「%1」は IPv4 アドレスではありません。</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>アドレス 255.255.255.255 はブロードキャストアドレスです。</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>アドレス %1 は使用できません: 0.x.x.x のアドレスは「このネットワーク」を表します。</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>アドレス %1 はループバックアドレスです: デバイスは自分自身にしか届きません。</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>アドレス %1 はマルチキャストアドレスです。</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>アドレス %1 はサブネット %2 のネットワークアドレスです。</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>アドレス %1 はサブネット %2 のブロードキャストアドレスです。</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>ゲートウェイ「%1」は IPv4 アドレスではありません。</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>ゲートウェイ %1 は新しいアドレスそのものです。</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>ゲートウェイ %1 は新しいアドレスのサブネット %2 のホストではありません。</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>アドレス %1 はこのコンピューター自身のアドレスです (%2)。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>アドレス %1 は、前回の検索で見つかった MAC アドレス %2 のデバイスが既に使用しています。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>アドレス %1 は MAC アドレス %2 のホストが既に使用しています。</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(なし)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>%1 で複数のデバイスが応答しています (MAC アドレス %2)。変更要求はそのすべてを変更します。</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>4 つ中 %1 番目</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1、4 つ中 %2 番目</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>IP アドレスを変更する NAS を選択してください</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>IP アドレスを変更できませんでした。管理者名、パスワード、またはパラメーターの形式を確認してください</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>ユーザー名またはパスワードが違います！</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>IP アドレスを変更できませんでした！</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>「固定 IP」または「DHCP」を選択してください</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>ポート 10001 は他のプログラムが使用中のため、応答を受信できません。</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>応答を受信できません: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>要求を送信できませんでした: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>それでも要求を送信しますか？</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>ユーザー名またはパスワードが空です</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>Orbisk について(&amp;A)...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>通信ポートの初期化に失敗しました</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>NAS を検索し、IP を設定します。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>IP 設定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>User</source>
        <translation>ユーザー</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>戻る</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP アドレス</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>ゲートウェイ</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>サブネットマスク</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>固定 IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>デバイス</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Orbisk について</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>認証</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>番号</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>バージョン</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>ホスト名</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC アドレス</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Web ページを開く(&amp;W)</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>共有フォルダーを開く(&amp;F)</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>IP アドレスをコピー(&amp;I)</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>MAC アドレスをコピー(&amp;M)</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>行をコピー(&amp;R)</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>すべての行をコピー(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>IP 設定(&amp;S)...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>インターフェイス</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>最終確認</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>一覧中</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>読めずに除外した記録の行: %1。</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>記録を書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>「%1」は MAC アドレスではありません。</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>%1 を待っています...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>はい</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>待機を中止</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>起動</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 には起動に使う MAC アドレスがありません。</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>マジックパケットを送信できませんでした: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 は %2 秒以内に応答しませんでした。</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 は %2 で起動しています。</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>%1 を記憶から削除しますか?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>記憶したデバイス(&amp;D)...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>追加...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>名前 (省略可)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>記憶したデバイス</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>記憶したデバイス</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>デバイスの追加</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>記憶したデバイスの記録を読めませんでした。%1 として保存し、新しい記録を始めます。</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>記憶したデバイスの記録 %1 を読めませんでした。</translation>
    </message>
</context>
</TS>
