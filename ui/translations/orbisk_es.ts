<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>ChangeCheck</name>
    <message>
        <source>The netmask &quot;%1&quot; is not an IPv4 address.</source>
        <translation>La máscara de subred «%1» no es una dirección IPv4.</translation>
    </message>
    <message>
        <source>The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.</source>
        <translation>La máscara de subred 0.0.0.0 no se puede usar: haría que todas las direcciones formaran parte de la subred.</translation>
    </message>
    <message>
        <source>The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.</source>
        <translation>La máscara de subred 255.255.255.255 no se puede usar: no deja ningún otro equipo en la subred, ni siquiera la puerta de enlace.</translation>
    </message>
    <message>
        <source>The netmask %1 is not contiguous: its one bits must all come first.</source>
        <translation>La máscara de subred %1 no es contigua: todos sus bits a uno deben ir primero.</translation>
    </message>
    <message>
        <source>The address &quot;%1&quot; is not an IPv4 address.</source>
        <translation>La dirección «%1» no es una dirección IPv4.</translation>
    </message>
    <message>
        <source>The address 255.255.255.255 is the broadcast address.</source>
        <translation>La dirección 255.255.255.255 es la dirección de difusión.</translation>
    </message>
    <message>
        <source>The address %1 is not usable: 0.x.x.x addresses mean &quot;this network&quot;.</source>
        <translation>La dirección %1 no se puede usar: las direcciones 0.x.x.x significan «esta red».</translation>
    </message>
    <message>
        <source>The address %1 is a loopback address: the device would reach only itself.</source>
        <translation>La dirección %1 es una dirección de bucle invertido: el dispositivo solo se alcanzaría a sí mismo.</translation>
    </message>
    <message>
        <source>The address %1 is a multicast address.</source>
        <translation>La dirección %1 es una dirección de multidifusión.</translation>
    </message>
    <message>
        <source>The address %1 is the network address of the subnet %2.</source>
        <translation>La dirección %1 es la dirección de red de la subred %2.</translation>
    </message>
    <message>
        <source>The address %1 is the broadcast address of the subnet %2.</source>
        <translation>La dirección %1 es la dirección de difusión de la subred %2.</translation>
    </message>
    <message>
        <source>The gateway &quot;%1&quot; is not an IPv4 address.</source>
        <translation>La puerta de enlace «%1» no es una dirección IPv4.</translation>
    </message>
    <message>
        <source>The gateway %1 is the new address itself.</source>
        <translation>La puerta de enlace %1 es la propia dirección nueva.</translation>
    </message>
    <message>
        <source>The gateway %1 is not a host of the subnet %2 of the new address.</source>
        <translation>La puerta de enlace %1 no es un equipo de la subred %2 de la dirección nueva.</translation>
    </message>
    <message>
        <source>The address %1 is this computer&apos;s own address (%2).</source>
        <translation>La dirección %1 es una dirección propia de este equipo (%2).</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the device with MAC address %2 that the last scan listed.</source>
        <translation>La dirección %1 ya la usa el dispositivo con dirección MAC %2 que encontró la última búsqueda.</translation>
    </message>
    <message>
        <source>The address %1 is already in use by the host with MAC address %2.</source>
        <translation>La dirección %1 ya la usa el equipo con dirección MAC %2.</translation>
    </message>
    <message>
        <source>(none given)</source>
        <translation>(ninguna indicada)</translation>
    </message>
    <message>
        <source>Several devices answer at %1 (MAC addresses %2); a change request would change all of them.</source>
        <translation>Varios dispositivos responden en %1 (direcciones MAC %2); un cambio los modificaría a todos.</translation>
    </message>
</context>
<context>
    <name>IpAddressWidget</name>
    <message>
        <source>part %1 of 4</source>
        <translation>parte %1 de 4</translation>
    </message>
    <message>
        <source>%1, part %2 of 4</source>
        <translation>%1, parte %2 de 4</translation>
    </message>
</context>
<context>
    <name>Operations</name>
    <message>
        <source>Scan</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Terminado</translation>
    </message>
    <message>
        <source>Select the NAS to modify its IP address</source>
        <translation>Seleccione el NAS cuya dirección IP desea modificar</translation>
    </message>
    <message>
        <source>Could not modify the IP address, please check the administrator name, password or the format of parameters</source>
        <translation>No se pudo modificar la dirección IP. Compruebe el nombre del administrador, la contraseña o el formato de los parámetros</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Operación correcta</translation>
    </message>
    <message>
        <source>Wrong user or password!</source>
        <translation>¡Usuario o contraseña incorrectos!</translation>
    </message>
    <message>
        <source>Could not modify the IP address!</source>
        <translation>¡No se pudo modificar la dirección IP!</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Sin definir</translation>
    </message>
    <message>
        <source>Select Static IP or DHCP</source>
        <translation>Seleccione «IP estática» o «DHCP»</translation>
    </message>
    <message>
        <source>Port 10001 is in use by another program; replies cannot be received.</source>
        <translation>Otro programa está usando el puerto 10001; no se pueden recibir respuestas.</translation>
    </message>
    <message>
        <source>Replies cannot be received: %1</source>
        <translation>No se pueden recibir respuestas: %1</translation>
    </message>
    <message>
        <source>The request could not be sent: %1</source>
        <translation>No se pudo enviar la solicitud: %1</translation>
    </message>
    <message>
        <source>Send the request anyway?</source>
        <translation>¿Enviar la solicitud de todos modos?</translation>
    </message>
</context>
<context>
    <name>Resources</name>
    <message>
        <source>用户名或密码不能为空</source>
        <translation>El usuario y la contraseña no pueden estar vacíos</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Not set</source>
        <translation>Sin definir</translation>
    </message>
    <message>
        <source>About Orbisk(&amp;A)...</source>
        <translation>&amp;Acerca de Orbisk...</translation>
    </message>
    <message>
        <source>Communication port initialization failure</source>
        <translation>Error al inicializar el puerto de comunicación</translation>
    </message>
    <message>
        <source>Finds NAS devices, sets their IP.</source>
        <translation>Busca dispositivos NAS y ajusta su IP.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpiar</translation>
    </message>
    <message>
        <source>Setup IP</source>
        <translation>Asignar IP</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Clave</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>Dirección IP</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Puerta de enlace</translation>
    </message>
    <message>
        <source>Netmask</source>
        <translation>Máscara de subred</translation>
    </message>
    <message>
        <source>Static IP</source>
        <translation>IP estática</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Dispositivos</translation>
    </message>
    <message>
        <source>About Orbisk</source>
        <translation>Acerca de Orbisk</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Autenticación</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Nombre de host</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>Dirección MAC</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Open &amp;Web Page</source>
        <translation>Abrir página &amp;web</translation>
    </message>
    <message>
        <source>Open Shared &amp;Folders</source>
        <translation>Abrir carpetas &amp;compartidas</translation>
    </message>
    <message>
        <source>Copy &amp;IP Address</source>
        <translation>Copiar dirección &amp;IP</translation>
    </message>
    <message>
        <source>Copy &amp;MAC Address</source>
        <translation>Copiar dirección &amp;MAC</translation>
    </message>
    <message>
        <source>Copy &amp;Row</source>
        <translation>Copiar &amp;fila</translation>
    </message>
    <message>
        <source>Copy &amp;All Rows</source>
        <translation>Copiar &amp;todas las filas</translation>
    </message>
    <message>
        <source>&amp;Setup IP...</source>
        <translation>&amp;Asignar IP...</translation>
    </message>
    <message>
        <source>Interface</source>
        <translation>Interfaz</translation>
    </message>
    <message>
        <source>Last Seen</source>
        <translation>Visto por última vez</translation>
    </message>
    <message>
        <source>Listed</source>
        <translation>En lista</translation>
    </message>
    <message>
        <source>Lines of the record that could not be read and are left out: %1.</source>
        <translation>Líneas del registro que no se pudieron leer y se omiten: %1.</translation>
    </message>
    <message>
        <source>The record could not be written: %1</source>
        <translation>No se pudo escribir el registro: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address.</source>
        <translation>«%1» no es una dirección MAC.</translation>
    </message>
    <message>
        <source>Waiting for %1...</source>
        <translation>Esperando a %1...</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>Dejar de esperar</translation>
    </message>
    <message>
        <source>Wake Up</source>
        <translation>Despertar</translation>
    </message>
    <message>
        <source>%1 has no MAC address to wake it by.</source>
        <translation>%1 no tiene dirección MAC con la que despertarlo.</translation>
    </message>
    <message>
        <source>The magic packet could not be sent: %1</source>
        <translation>No se pudo enviar el paquete mágico: %1</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 s.</source>
        <translation>%1 no respondió en %2 s.</translation>
    </message>
    <message>
        <source>%1 is up at %2.</source>
        <translation>%1 está activo en %2.</translation>
    </message>
    <message>
        <source>Forget %1?</source>
        <translation>¿Olvidar %1?</translation>
    </message>
    <message>
        <source>Remembered &amp;Devices...</source>
        <translation>Dispositivos &amp;recordados...</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Olvidar</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Añadir...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Name (optional)</source>
        <translation>Nombre (opcional)</translation>
    </message>
    <message>
        <source>Remembered devices</source>
        <translation>Dispositivos recordados</translation>
    </message>
    <message>
        <source>Remembered Devices</source>
        <translation>Dispositivos recordados</translation>
    </message>
    <message>
        <source>Add Device</source>
        <translation>Añadir dispositivo</translation>
    </message>
    <message>
        <source>The record of remembered devices could not be read; it is kept as %1 and a new one is started.</source>
        <translation>No se pudo leer el registro de dispositivos recordados; se guarda como %1 y se empieza uno nuevo.</translation>
    </message>
    <message>
        <source>The record of remembered devices %1 could not be read.</source>
        <translation>No se pudo leer el registro de dispositivos recordados %1.</translation>
    </message>
</context>
</TS>
