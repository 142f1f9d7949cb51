<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>서브넷 마스크 “%1”은(는) IPv4 주소가 아닙니다.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>서브넷 마스크 0.0.0.0은 사용할 수 없습니다: 모든 주소가 서브넷에 속하게 됩니다.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>서브넷 마스크 255.255.255.255는 사용할 수 없습니다: 서브넷에 게이트웨이를 포함해 다른 호스트가 하나도 남지 않습니다.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>서브넷 마스크 %1은(는) 연속적이지 않습니다: 1인 비트가 모두 앞쪽에 와야 합니다.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>주소 “%1”은(는) IPv4 주소가 아닙니다.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>주소 255.255.255.255는 브로드캐스트 주소입니다.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>주소 %1은(는) 사용할 수 없습니다: 0.x.x.x 주소는 “이 네트워크”를 뜻합니다.</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>주소 %1은(는) 루프백 주소입니다: 장치가 자기 자신에게만 연결됩니다.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>주소 %1은(는) 멀티캐스트 주소입니다.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>주소 %1은(는) 서브넷 %2의 네트워크 주소입니다.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>주소 %1은(는) 서브넷 %2의 브로드캐스트 주소입니다.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>게이트웨이 “%1”은(는) IPv4 주소가 아닙니다.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>게이트웨이 %1은(는) 새 주소 자체입니다.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>게이트웨이 %1은(는) 새 주소의 서브넷 %2에 속한 호스트가 아닙니다.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>주소 %1은(는) 이 컴퓨터 자신의 주소입니다(%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>주소 %1은(는) 마지막 검색에서 찾은 MAC 주소 %2의 장치가 이미 사용 중입니다.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>주소 %1은(는) MAC 주소 %2의 호스트가 이미 사용 중입니다.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(없음)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>%1에서 여러 장치가 응답합니다(MAC 주소 %2). 변경 요청은 이 장치를 모두 변경합니다.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>4개 중 %1번째</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, 4개 중 %2번째</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>검색</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>완료</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>IP 주소를 변경할 NAS를 선택하십시오</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>IP 주소를 변경할 수 없습니다. 관리자 이름, 비밀번호 또는 매개변수 형식을 확인하십시오</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>성공</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>사용자 이름 또는 비밀번호가 잘못되었습니다!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>IP 주소를 변경할 수 없습니다!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>설정 안 됨</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>“고정 IP” 또는 “DHCP”를 선택하십시오</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>다른 프로그램이 포트 10001을 사용하고 있어 응답을 받을 수 없습니다.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>응답을 받을 수 없습니다: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>요청을 보낼 수 없습니다: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>그래도 요청을 보내시겠습니까?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>사용자 이름 또는 비밀번호를 비워 둘 수 없습니다</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>검색</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>설정 안 됨</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>Orbisk 정보(&amp;A)...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>통신 포트를 초기화하지 못했습니다</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>NAS 장치를 찾아 IP를 설정합니다.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>종료</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>지우기</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>IP 설정</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>User</source>
        <translation>사용자</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>비밀번호</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>뒤로</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP 주소</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>게이트웨이</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>서브넷 마스크</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>고정 IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>장치</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Orbisk 정보</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>인증</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>번호</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>버전</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>호스트 이름</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC 주소</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>닫기(&amp;C)</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>웹 페이지 열기(&amp;W)</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>공유 폴더 열기(&amp;F)</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>IP 주소 복사(&amp;I)</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>MAC 주소 복사(&amp;M)</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>행 복사(&amp;R)</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>모든 행 복사(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>IP 설정(&amp;S)...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>인터페이스</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>마지막 확인</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>목록에 있음</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>읽을 수 없어 제외한 기록 줄: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>기록을 쓸 수 없습니다: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>&quot;%1&quot;은(는) MAC 주소가 아닙니다.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>%1 기다리는 중...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>예</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>기다리기 중지</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>깨우기</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1에는 깨우는 데 쓸 MAC 주소가 없습니다.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>매직 패킷을 보낼 수 없습니다: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1이(가) %2초 안에 응답하지 않았습니다.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1이(가) %2에서 켜져 있습니다.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>%1을(를) 잊으시겠습니까?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>기억된 장치(&amp;D)...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>잊기</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>추가...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>이름(선택 사항)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>기억된 장치</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>기억된 장치</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>장치 추가</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>기억된 장치 기록을 읽을 수 없습니다. %1(으)로 보관하고 새 기록을 시작합니다.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>기억된 장치 기록 %1을(를) 읽을 수 없습니다.</translation>
    </message>
</context>
</TS>
