<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>子网掩码“%1”不是 IPv4 地址。</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>子网掩码 0.0.0.0 不可用：它会使所有地址都属于该子网。</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>子网掩码 255.255.255.255 不可用：它使子网中没有其他主机，连网关也没有。</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>子网掩码 %1 不连续：所有为 1 的位必须排在最前面。</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>地址“%1”不是 IPv4 地址。</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>地址 255.255.255.255 是广播地址。</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>地址 %1 不可用：0.x.x.x 地址表示“本网络”。</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>地址 %1 是环回地址：设备将只能访问自身。</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>地址 %1 是组播地址。</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>地址 %1 是子网 %2 的网络地址。</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>地址 %1 是子网 %2 的广播地址。</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>网关“%1”不是 IPv4 地址。</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>网关 %1 就是新地址本身。</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>网关 %1 不是新地址所在子网 %2 中的主机。</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>地址 %1 是本计算机自己的地址（%2）。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>地址 %1 已被上次搜索到的设备（MAC 地址 %2）使用。</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>地址 %1 已被 MAC 地址为 %2 的主机使用。</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>（未提供）</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>有多台设备在 %1 应答（MAC 地址 %2）；修改请求会同时修改所有这些设备。</translation>
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
        <translation>搜索</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>请选择要修改 IP 地址的 NAS</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>无法修改 IP 地址，请检查管理员名称、密码或参数格式</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>用户名或密码错误！</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>无法修改 IP 地址！</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未设置</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>请选择“静态 IP”或“DHCP”</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>端口 10001 已被其他程序占用，无法接收应答。</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>无法接收应答：%1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>无法发送请求：%1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>仍然发送请求吗？</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>用户名或密码不能为空</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>未设置</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>关于 Orbisk(&amp;A)...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>通信端口初始化失败</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>搜索 NAS 设备，设置其 IP。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>设置 IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP 地址</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>静态 IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>关于 Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>身份验证</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>主机名</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC 地址</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>打开网页(&amp;W)</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>打开共享文件夹(&amp;F)</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>复制 IP 地址(&amp;I)</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>复制 MAC 地址(&amp;M)</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>复制行(&amp;R)</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>复制所有行(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>设置 IP(&amp;S)...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>接口</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>上次发现</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>在列表中</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>无法读取而被略过的记录行：%1。</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>无法写入记录：%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>“%1”不是 MAC 地址。</translation>
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
        <translation>唤醒</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 没有可用于唤醒的 MAC 地址。</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>无法发送魔术包：%1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 在 %2 秒内没有应答。</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 已启动，地址为 %2。</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>忘记 %1？</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>已记住的设备(&amp;D)...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>忘记</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>添加...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>名称（可选）</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>已记住的设备</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>已记住的设备</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>添加设备</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>无法读取已记住设备的记录；已将其保留为 %1，并开始新的记录。</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>无法读取已记住设备的记录 %1。</translation>
    </message>
</context>
</TS>
