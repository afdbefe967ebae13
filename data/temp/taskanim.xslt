<?xml version="1.0" encoding="UTF-8"?>
<!-- The hint animation of a task's begin dialog. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:include href="../data/anim/anim.xslt"/>
  <xsl:variable name="anim-heading" select="'Підказка до задачі'"/>
</xsl:stylesheet>
