<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Маска подсети «%1» не является адресом IPv4.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>Маску подсети 0.0.0.0 использовать нельзя: с ней любой адрес входит в подсеть.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>Маску подсети 255.255.255.255 использовать нельзя: с ней в подсети не остаётся ни одного другого узла, даже шлюза.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>Маска подсети %1 не является непрерывной: все её единичные биты должны идти первыми.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Адрес «%1» не является адресом IPv4.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>Адрес 255.255.255.255 — широковещательный адрес.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>Адрес %1 использовать нельзя: адреса 0.x.x.x означают «эта сеть».</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>Адрес %1 — адрес обратной петли: устройство сможет связаться только с самим собой.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>Адрес %1 — адрес многоадресной рассылки.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>Адрес %1 является адресом сети для подсети %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>Адрес %1 является широковещательным адресом подсети %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Шлюз «%1» не является адресом IPv4.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>Шлюз %1 совпадает с новым адресом.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>Шлюз %1 не является узлом подсети %2 нового адреса.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>Адрес %1 — собственный адрес этого компьютера (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>Адрес %1 уже занят устройством с MAC-адресом %2, найденным при последнем поиске.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>Адрес %1 уже занят узлом с MAC-адресом %2.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(не указан)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>По адресу %1 отвечают несколько устройств (MAC-адреса %2); изменение затронет их все.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>часть %1 из 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, часть %2 из 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Выберите NAS, IP-адрес которого нужно изменить</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>Не удалось изменить IP-адрес. Проверьте имя администратора, пароль или формат параметров</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Успешно</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>Неверное имя пользователя или пароль!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>Не удалось изменить IP-адрес!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Не задано</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Выберите «Статический IP» или «DHCP»</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>Порт 10001 занят другой программой; ответы не могут быть получены.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>Ответы не могут быть получены: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>Не удалось отправить запрос: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>Всё равно отправить запрос?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>Имя пользователя и пароль не могут быть пустыми</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Не задано</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>&amp;О программе Orbisk...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Не удалось инициализировать порт связи</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Находит NAS и задаёт их IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>Задать IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Задать</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-адрес</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Шлюз</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Маска подсети</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>Статич. IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Устройства</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>О программе Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Авторизация</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Версия</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Имя узла</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC-адрес</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Открыть &amp;веб-страницу</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>Открыть &amp;общие папки</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>Копировать &amp;IP-адрес</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>Копировать &amp;MAC-адрес</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>Копировать &amp;строку</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>Копировать все стро&amp;ки</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>&amp;Задать IP...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Интерфейс</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Последний раз</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>В списке</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Нечитаемые строки списка, пропущены: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>Не удалось записать список: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>«%1» — не MAC-адрес.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>Ожидание %1...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Прекратить ожидание</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Разбудить</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>У %1 нет MAC-адреса, по которому его можно разбудить.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>Не удалось отправить магический пакет: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 не ответил за %2 с.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 доступен по адресу %2.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>Забыть %1?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>Запомненные &amp;устройства...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Забыть</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Добавить...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Имя (необязательно)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Запомненные устройства</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Запомненные устройства</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Добавить устройство</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>Не удалось прочитать список запомненных устройств; он сохранён как %1, начат новый.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>Не удалось прочитать список запомненных устройств %1.</translation>
    </message>
</context>
</TS>
