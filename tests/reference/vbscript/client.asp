<html>
<script language="VBScript">
<!--
Sub btnGo_OnClick()
  MsgBox "Go!"
End Sub
-->
</script>
<p>Total: <%= Total(2) %></p>
</html>
