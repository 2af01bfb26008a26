<table>
  <tr>
    <td>nested <b>bold</b> text</td>
  </tr>
</table>
<br><br>
<p>Café document.title font-size 12px</p>
