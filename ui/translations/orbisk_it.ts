<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>La subnet mask “%1” non è un indirizzo IPv4.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>La subnet mask 0.0.0.0 non è utilizzabile: renderebbe ogni indirizzo parte della sottorete.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>La subnet mask 255.255.255.255 non è utilizzabile: non lascia nella sottorete nessun altro dispositivo, nemmeno il gateway.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>La subnet mask %1 non è contigua: tutti i suoi bit a uno devono venire per primi.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>L&apos;indirizzo “%1” non è un indirizzo IPv4.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>L&apos;indirizzo 255.255.255.255 è l&apos;indirizzo di broadcast.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>L&apos;indirizzo %1 non è utilizzabile: gli indirizzi 0.x.x.x indicano “questa rete”.</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>L&apos;indirizzo %1 è un indirizzo di loopback: il dispositivo raggiungerebbe solo sé stesso.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>L&apos;indirizzo %1 è un indirizzo multicast.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>L&apos;indirizzo %1 è l&apos;indirizzo di rete della sottorete %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>L&apos;indirizzo %1 è l&apos;indirizzo di broadcast della sottorete %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Il gateway “%1” non è un indirizzo IPv4.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>Il gateway %1 coincide con il nuovo indirizzo.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>Il gateway %1 non appartiene alla sottorete %2 del nuovo indirizzo.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>L&apos;indirizzo %1 è un indirizzo di questo computer (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>L&apos;indirizzo %1 è già in uso dal dispositivo con indirizzo MAC %2 trovato dall&apos;ultima ricerca.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>L&apos;indirizzo %1 è già in uso da un dispositivo con indirizzo MAC %2.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(nessuno indicato)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>Più dispositivi rispondono all&apos;indirizzo %1 (indirizzi MAC %2); una modifica li cambierebbe tutti.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>parte %1 di 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, parte %2 di 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Cerca</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminato</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Selezionare il NAS di cui modificare l&apos;indirizzo IP</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>Impossibile modificare l&apos;indirizzo IP. Controllare nome dell&apos;amministratore, password o formato dei parametri</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Operazione riuscita</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>Nome utente o password errati!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>Impossibile modificare l&apos;indirizzo IP!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non impostato</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Selezionare “IP statico” o “DHCP”</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>La porta 10001 è usata da un altro programma; impossibile ricevere le risposte.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>Impossibile ricevere le risposte: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>Impossibile inviare la richiesta: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>Inviare comunque la richiesta?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>Nome utente e password non possono essere vuoti</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Cerca</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non impostato</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>&amp;Informazioni su Orbisk...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Inizializzazione della porta di comunicazione non riuscita</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Trova i NAS e ne imposta l&apos;IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Svuota</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>Imposta IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Utente</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Applica</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Indirizzo IP</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>IP statico</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Dispositivi</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Informazioni su Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Autenticazione</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N.</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versione</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Nome host</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>Indirizzo MAC</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Apri pagina &amp;web</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>Apri cartelle &amp;condivise</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>Copia indirizzo &amp;IP</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>Copia indirizzo &amp;MAC</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>Copia &amp;riga</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>Copia &amp;tutte le righe</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>Im&amp;posta IP...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Interfaccia</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Ultima volta</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>In elenco</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Righe del registro illeggibili, tralasciate: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>Impossibile scrivere il registro: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>«%1» non è un indirizzo MAC.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>In attesa di %1...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sì</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Smetti di attendere</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Risveglia</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 non ha un indirizzo MAC con cui risvegliarlo.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>Impossibile inviare il pacchetto magico: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 non ha risposto entro %2 s.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 è attivo su %2.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>Dimenticare %1?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>&amp;Dispositivi memorizzati...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Dimentica</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Aggiungi...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Nome (facoltativo)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Dispositivi memorizzati</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Dispositivi memorizzati</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Aggiungi dispositivo</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>Impossibile leggere il registro dei dispositivi memorizzati; viene conservato come %1 e ne viene iniziato uno nuovo.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>Impossibile leggere il registro dei dispositivi memorizzati %1.</translation>
    </message>
</context>
</TS>
