<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>Le masque de sous-réseau «&#xa0;%1&#xa0;» n&apos;est pas une adresse IPv4.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>Le masque de sous-réseau 0.0.0.0 n&apos;est pas utilisable&#xa0;: toutes les adresses feraient partie du sous-réseau.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>Le masque de sous-réseau 255.255.255.255 n&apos;est pas utilisable&#xa0;: il ne laisse aucun autre hôte dans le sous-réseau, pas même la passerelle.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>Le masque de sous-réseau %1 n&apos;est pas contigu&#xa0;: tous ses bits à 1 doivent venir en premier.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>L&apos;adresse «&#xa0;%1&#xa0;» n&apos;est pas une adresse IPv4.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>L&apos;adresse 255.255.255.255 est l&apos;adresse de diffusion.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>L&apos;adresse %1 n&apos;est pas utilisable&#xa0;: les adresses 0.x.x.x désignent «&#xa0;ce réseau&#xa0;».</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>L&apos;adresse %1 est une adresse de bouclage&#xa0;: l&apos;appareil ne pourrait joindre que lui-même.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>L&apos;adresse %1 est une adresse de multidiffusion.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>L&apos;adresse %1 est l&apos;adresse réseau du sous-réseau %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>L&apos;adresse %1 est l&apos;adresse de diffusion du sous-réseau %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>La passerelle «&#xa0;%1&#xa0;» n&apos;est pas une adresse IPv4.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>La passerelle %1 est la nouvelle adresse elle-même.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>La passerelle %1 n&apos;est pas un hôte du sous-réseau %2 de la nouvelle adresse.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>L&apos;adresse %1 est une adresse de cet ordinateur (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>L&apos;adresse %1 est déjà utilisée par l&apos;appareil d&apos;adresse MAC %2 trouvé lors de la dernière recherche.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>L&apos;adresse %1 est déjà utilisée par l&apos;hôte d&apos;adresse MAC %2.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(aucune indiquée)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>Plusieurs appareils répondent à l&apos;adresse %1 (adresses MAC %2)&#xa0;; une modification les changerait tous.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>partie %1 sur 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, partie %2 sur 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Sélectionnez le NAS dont l&apos;adresse IP doit être modifiée</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>Impossible de modifier l&apos;adresse IP. Vérifiez le nom de l&apos;administrateur, le mot de passe ou le format des paramètres</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Opération réussie</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>Utilisateur ou mot de passe incorrect&#xa0;!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>Impossible de modifier l&apos;adresse IP&#xa0;!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non défini</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Sélectionnez «&#xa0;IP fixe&#xa0;» ou «&#xa0;DHCP&#xa0;»</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>Le port 10001 est utilisé par un autre programme&#xa0;; les réponses ne peuvent pas être reçues.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>Les réponses ne peuvent pas être reçues&#xa0;: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>La requête n&apos;a pas pu être envoyée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>Envoyer la requête quand même&#xa0;?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>Le nom d&apos;utilisateur et le mot de passe ne peuvent pas être vides</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Non défini</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>À &amp;propos d&apos;Orbisk…</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Échec de l&apos;initialisation du port de communication</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Trouve les NAS et règle leur IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>Régler l&apos;IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mdp</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Adresse IP</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Passerelle</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Masque de sous-réseau</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>IP fixe</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Appareils</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>À propos d&apos;Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Authentification</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N°</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Nom d&apos;hôte</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>Adresse MAC</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Ouvrir la page &amp;web</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>Ouvrir les dossiers &amp;partagés</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>Copier l&apos;adresse &amp;IP</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>Copier l&apos;adresse &amp;MAC</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>Copier la &amp;ligne</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>Copier &amp;toutes les lignes</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>&amp;Régler l&apos;IP…</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Vu en dernier</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>Listé</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Lignes illisibles du registre, laissées de côté : %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>Impossible d&apos;écrire le registre : %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>« %1 » n&apos;est pas une adresse MAC.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>En attente de %1…</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Ne plus attendre</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Réveiller</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 n&apos;a pas d&apos;adresse MAC pour le réveiller.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>Le paquet magique n&apos;a pas pu être envoyé : %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 n&apos;a pas répondu en %2 s.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 est joignable à %2.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>Oublier %1 ?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>&amp;Appareils mémorisés…</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Oublier</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Ajouter…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Nom (facultatif)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Appareils mémorisés</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Appareils mémorisés</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Ajouter un appareil</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>Le registre des appareils mémorisés est illisible ; il est conservé sous %1 et un nouveau est commencé.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>Le registre des appareils mémorisés %1 est illisible.</translation>
    </message>
</context>
</TS>
