<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Die Subnetzmaske „%1“ ist keine IPv4-Adresse.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>Die Subnetzmaske 0.0.0.0 ist nicht verwendbar: Mit ihr gehört jede Adresse zum Subnetz.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>Die Subnetzmaske 255.255.255.255 ist nicht verwendbar: Mit ihr bleibt kein anderer Teilnehmer im Subnetz, nicht einmal das Gateway.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>Die Subnetzmaske %1 ist nicht zusammenhängend: Alle gesetzten Bits müssen vorne stehen.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Die Adresse „%1“ ist keine IPv4-Adresse.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>Die Adresse 255.255.255.255 ist die Broadcast-Adresse.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>Die Adresse %1 ist nicht verwendbar: 0.x.x.x-Adressen bedeuten „dieses Netzwerk“.</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>Die Adresse %1 ist eine Loopback-Adresse: Das Gerät würde nur sich selbst erreichen.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>Die Adresse %1 ist eine Multicast-Adresse.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>Die Adresse %1 ist die Netzwerkadresse des Subnetzes %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>Die Adresse %1 ist die Broadcast-Adresse des Subnetzes %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Das Gateway „%1“ ist keine IPv4-Adresse.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>Das Gateway %1 ist die neue Adresse selbst.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>Das Gateway %1 ist kein Teilnehmer des Subnetzes %2 der neuen Adresse.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>Die Adresse %1 ist eine eigene Adresse dieses Computers (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>Die Adresse %1 wird bereits von dem Gerät mit der MAC-Adresse %2 verwendet, das die letzte Suche gefunden hat.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>Die Adresse %1 wird bereits von dem Rechner mit der MAC-Adresse %2 verwendet.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(keine angegeben)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>Mehrere Geräte antworten unter %1 (MAC-Adressen %2); eine Änderung würde sie alle ändern.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>Teil %1 von 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, Teil %2 von 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Wählen Sie das NAS aus, dessen IP-Adresse geändert werden soll</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>Die IP-Adresse konnte nicht geändert werden. Bitte prüfen Sie Administratorname, Passwort und das Format der Angaben</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>Falscher Benutzername oder falsches Passwort!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>Die IP-Adresse konnte nicht geändert werden!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Nicht festgelegt</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Wählen Sie „Feste IP“ oder „DHCP“</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>Port 10001 wird von einem anderen Programm belegt; Antworten können nicht empfangen werden.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>Antworten können nicht empfangen werden: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>Die Anfrage konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>Die Anfrage trotzdem senden?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>Benutzername und Passwort dürfen nicht leer sein</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Nicht festgelegt</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>Ü&amp;ber Orbisk …</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Der Kommunikationsport konnte nicht initialisiert werden</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Findet NAS-Geräte und setzt ihre IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>IP ändern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbruch</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Subnetzmaske</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>Feste IP</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Geräte</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Über Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Hostname</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC-Adresse</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>&amp;Webseite öffnen</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>&amp;Freigegebene Ordner öffnen</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>&amp;IP-Adresse kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>&amp;MAC-Adresse kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>&amp;Zeile kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>&amp;Alle Zeilen kopieren</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>IP ä&amp;ndern …</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Zuletzt gesehen</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>Gelistet</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Nicht lesbare Zeilen der Liste, ausgelassen: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>Die Liste konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>„%1“ ist keine MAC-Adresse.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>Warte auf %1 …</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Nicht mehr warten</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Aufwecken</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 hat keine MAC-Adresse, über die es sich wecken ließe.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>Das Weckpaket konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 hat nicht innerhalb von %2 s geantwortet.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 ist unter %2 erreichbar.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>%1 vergessen?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>&amp;Gemerkte Geräte …</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Hinzufügen …</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Name (optional)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Gemerkte Geräte</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Gemerkte Geräte</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Gerät hinzufügen</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>Die Liste der gemerkten Geräte war nicht lesbar; sie wird als %1 aufbewahrt und eine neue begonnen.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>Die Liste der gemerkten Geräte %1 ist nicht lesbar.</translation>
    </message>
</context>
</TS>
